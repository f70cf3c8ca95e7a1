// The colour sets: defaults for the options record.
#include "GraphicsControl.h"

#include <cstring>

const float default_graphics_options[OPTIONS_NUM_COLOUR_SETS][OPTIONS_NUM_COLOUR_PARTS][3] = {
    {{0.189f, 0.201f, 0.258f}, {1, 1, 1}, {0, 0, 0}, {0.025f, 0.039f, 0.121f}, {0.496f, 0.53f, 0.732f},
     {0.518f, 0.4f, 0.138f}},
    {{0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}, {0.4f, 0.4f, 0.4f}, {0.4f, 0.4f, 0.4f}},
    {{0.002f, 0.002f, 0.002f}, {0, 0, 0}, {0.458f, 0.458f, 0.458f}, {0.757f, 0.757f, 0.757f},
     {0.514f, 0.514f, 0.514f}, {0.561f, 0.561f, 0.561f}},
    {{0.158f, 0.259f, 0.282f}, {0.861f, 0.891f, 0.571f}, {0.203f, 0.211f, 0.048f}, {0.123f, 0.115f, 0.012f},
     {0.49f, 0.449f, 0.277f}, {0.354f, 0.347f, 0.197f}},
    {{0.398f, 0.102f, 0.165f}, {0.836f, 0.513f, 0.69f}, {0, 0, 0}, {0, 0, 0}, {0.398f, 0.102f, 0.165f},
     {0.218f, 0.115f, 0.226f}},
    {{0.266f, 0.29f, 0.256f}, {0.079f, 0.079f, 0.079f}, {0.801f, 0.801f, 0.801f}, {0.569f, 0.569f, 0.569f},
     {0.426f, 0.426f, 0.426f}, {0.545f, 0.445f, 0.377f}},
    {{0.119f, 0.077f, 0.061f}, {0.406f, 0.352f, 0.335f}, {0.127f, 0.127f, 0.127f}, {1, 0.578f, 0.115f},
     {0.8f, 0.48f, 0.264f}, {0.34f, 0.158f, 0.122f}},
    {{0.534f, 0.697f, 0.4f}, {0.973f, 0.978f, 0.978f}, {0.101f, 0.24f, 0.032f}, {0, 0.004f, 0.004f},
     {0.605f, 0.686f, 0.425f}, {0.444f, 0.544f, 0.221f}},
};

void GraphicsControlSetDefaultOptions()
{
    options.cur_colour_set = 0;
    options.cur_colour_part = 0;
    memcpy(options.colours, default_graphics_options, sizeof(options.colours));
}

void GraphicsControlResetSetColours(int set)
{
    if (set < 0 || set >= OPTIONS_NUM_COLOUR_SETS)
        return;
    memcpy(options.colours[set], default_graphics_options[set], sizeof(options.colours[set]));
}
