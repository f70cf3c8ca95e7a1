// Helpers shared by the horizontal and the vertical scrollbar.
#include "MWinScrollbarCommon.h"

#include "EngMath.h"

namespace mwsb
{
void StoreToVar(const _MWinButtonBoundVar& var, double pos)
{
    switch (var.kind)
    {
    case MWIN_VAR_CHAR:
    {
        int r = EngMathRoundDouble(pos);
        if (var.p_char)
            *var.p_char = (char)(r < -127 ? -127 : r > 127 ? 127 : r);
        break;
    }
    case MWIN_VAR_UCHAR:
    {
        int r = EngMathRoundDouble(pos);
        if (var.p_uchar)
            *var.p_uchar = (unsigned char)(r < 0 ? 0 : r > 255 ? 255 : r);
        break;
    }
    case MWIN_VAR_INT:
        if (var.p_int)
            *var.p_int = EngMathRoundDouble(pos);
        break;
    case MWIN_VAR_LONG:
        if (var.p_long)
            *var.p_long = EngMathRoundLong(pos);
        break;
    case MWIN_VAR_ULONG:
        if (var.p_ulong)
            *var.p_ulong = (unsigned int)(pos < 0 ? 0 : EngMathRoundLong(pos));
        break;
    case MWIN_VAR_FLOAT:
        if (var.p_float)
            *var.p_float = var.mult_float > 0 ? (float)(pos / var.mult_float) : (float)pos;
        break;
    default:
        break;
    }
}

char LoadFromVar(const _MWinButtonBoundVar& var, double* value)
{
    switch (var.kind)
    {
    case MWIN_VAR_CHAR:
        if (!var.p_char)
            return 0;
        *value = *var.p_char;
        return 1;
    case MWIN_VAR_UCHAR:
        if (!var.p_uchar)
            return 0;
        *value = *var.p_uchar;
        return 1;
    case MWIN_VAR_INT:
        if (!var.p_int)
            return 0;
        *value = (double)*var.p_int * var.mult_int;
        return 1;
    case MWIN_VAR_LONG:
        if (!var.p_long)
            return 0;
        *value = (double)*var.p_long * var.mult_long;
        return 1;
    case MWIN_VAR_ULONG:
        if (!var.p_ulong)
            return 0;
        *value = (double)*var.p_ulong * var.mult_ulong;
        return 1;
    case MWIN_VAR_FLOAT:
        if (!var.p_float)
            return 0;
        *value = (double)*var.p_float * var.mult_float;
        return 1;
    default:
        return 0;
    }
}
} // namespace mwsb
