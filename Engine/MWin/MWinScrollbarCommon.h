// Helpers shared by the horizontal and the vertical scrollbar.
#pragma once

#include "MWinButton.h"

namespace mwsb
{
// Writes the bar's position into its bound variable (rounded and clamped to the type).
void StoreToVar(const _MWinButtonBoundVar& var, double pos);

// Reads the bound variable as a bar position; 0 when nothing usable is bound.
char LoadFromVar(const _MWinButtonBoundVar& var, double* value);

// Ends a Register*Variable call: on success moves the bar to the variable's value.
template <class Bar, class T>
char FollowRegistered(Bar* bar, char registered, char is_bar, const T* p, double mult, char call)
{
    if (!registered)
        return 0;
    if (p && is_bar)
        bar->SetPosDouble((double)*p * mult, 0, 0, call);
    return 1;
}
} // namespace mwsb
