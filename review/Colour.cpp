#include "review/Colour.h"

namespace paradrex {

Colour CloneBlockColour(uint32_t cloneBlock, const RowColours& colours) {
    return cloneBlock % 2 == 0 ? colours.textBk2 : colours.textBk1;
}

Colour RunBlockColour(uint32_t runBlock, const RowColours& colours) {
    return runBlock % 2 == 0 ? colours.textBlock : colours.textBk1;
}

Colour OneListGroupColour(uint32_t group, const RowColours& colours) {
    return group % 2 == 0 ? colours.textBk2 : colours.textBk1;
}

uint8_t BlendChannel(uint8_t background, uint8_t colour) {
    int sum = int(background) + int(colour);
    return sum > 255 ? static_cast<uint8_t>(sum - 255) : 0;
}

Colour BlendColour(Colour background, Colour colour) {
    return MakeColour(BlendChannel(RedOf(background), RedOf(colour)),
                      BlendChannel(GreenOf(background), GreenOf(colour)),
                      BlendChannel(BlueOf(background), BlueOf(colour)));
}

SelectionColours BlendSelection(const SelectionColours& set, Colour background) {
    return {BlendColour(background, set.border), BlendColour(background, set.fill),
            BlendColour(background, set.gradientTop), BlendColour(background, set.gradientBottom)};
}

} // namespace paradrex
