// Shared toolkit types and the text-ID and area helpers.
#pragma once

#include "EngTypes.h"

class MWin;
class MWinButton;

#define MWIN_ID_SIZE 32

#define MWIN_TEXBUT_DEFAULT "MWIN_TEXBUT_DEFAULT"
#define MWIN_TEXBUT_NONE "MWIN_TEXBUT_NONE"
#define MWIN_FONT_DEFAULT "MWIN_FONT_DEFAULT"
#define MWIN_FONT_NONE "MWIN_FONT_NONE"
#define MWIN_STANDARD_FONT_ID "MWIN_STANDARD_FONT"
#define MWIN_POPUP_COLLECTION_ID "MWIN_POPUP"

// Font numbers.
#define MWIN_FONT_NUM_DEFAULT (-1)
#define MWIN_FONT_NUM_NONE (-2)

// A window (or popup) x or y of this value is centred on that axis.
#define MWIN_CENTRE_POS (-9999.0f)

typedef int _MWinTextAlign;
#define MWIN_ALIGN_LEFT 0
#define MWIN_ALIGN_CENTRE 1
#define MWIN_ALIGN_RIGHT 2

typedef int _MWinMessageNum;
#define MWIN_MSG_CALL_CALLBACK 0

typedef int _MWinSoundEvent;
#define MWIN_SOUND_BUTTON 0
#define MWIN_SOUND_KEY 1
#define MWIN_SOUND_SELECTION 2
#define MWIN_SOUND_HOVER 3

typedef int _MWinClearMethod;
#define MWIN_CLEAR_NONE 0
#define MWIN_CLEAR_COLOUR 1
#define MWIN_CLEAR_COLOUR_AND_DEPTH 2
#define MWIN_CLEAR_BACKGROUND_IMAGE 3

typedef int _MWinWindowType;
#define MWIN_WINDOW_TYPE_NORMAL 0
#define MWIN_WINDOW_TYPE_MODAL 1

typedef int _MWinTextureState;
#define MWIN_STATE_NORMAL 0
#define MWIN_STATE_FOCUSED 1
#define MWIN_STATE_PRESSED 2
#define MWIN_STATE_DISABLED 3

typedef void (*MWinSoundPlayCB)(_MWinSoundEvent event, void* user);
typedef void (*MWinGetCursorPosCB)(int* x, int* y, void* user1, void* user2);

// Copies an ID of at most 31 characters into a char[32]; 0 leaves dst unchanged.
char MWinCopyID(char* dst, const char* src);
char MWinIsIDEmpty(const char* id);
// 1 when both IDs are non-empty and equal; two empty IDs never match.
char MWinAreIDsTheSame(const char* a, const char* b);
// The ID, or "(empty id)", for log lines.
const char* MWinDisplayID(const char* id);
_Dimension* MWinCopyArea(_Dimension* dst, const _Dimension* src);
_Dimension* MWinSetArea(_Dimension* d, float x, float y, float w, float h);
MWinButton* MWinGetNextButton(MWinButton* b, int n);
MWinButton* MWinGetPrevButton(MWinButton* b, int n);

float MWinApplyWidescreenRatioToXPos(float x, float w);
float MWinApplyNarrowscreenRatioToYPos(float y, float h);
