#include "platform/SystemColors.h"

namespace automenu::platform {

Rgb ClassicSystemColor(int index) {
    switch (index) {
        case COLOR_BTNFACE: return {212, 208, 200};
        case COLOR_WINDOWTEXT: return {0, 0, 0};
        case COLOR_INFOBK: return {255, 255, 225};
        case COLOR_INFOTEXT: return {0, 0, 0};
        case 5: return {255, 255, 255};   // window
        case 16: return {128, 128, 128};  // button shadow
        case 20: return {255, 255, 255};  // button highlight
        default: return {0, 0, 0};
    }
}

}  // namespace automenu::platform
