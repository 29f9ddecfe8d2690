#include "platform/SystemColors.h"

namespace automenu::platform {

Rgb ClassicSystemColor(int index) {
    switch (index) {
        case COLOR_BTNFACE: return {212, 208, 200};
        case COLOR_WINDOWTEXT: return {0, 0, 0};
        case COLOR_INFOBK: return {255, 255, 225};
        case COLOR_INFOTEXT: return {0, 0, 0};
        case 5: return {255, 255, 255};  // window
        case COLOR_WINDOWFRAME: return {0, 0, 0};
        case COLOR_BTNSHADOW: return {128, 128, 128};
        case COLOR_BTNTEXT: return {0, 0, 0};
        case COLOR_BTNHIGHLIGHT: return {255, 255, 255};
        case COLOR_3DDKSHADOW: return {64, 64, 64};
        case COLOR_3DLIGHT: return {212, 208, 200};
        default: return {0, 0, 0};
    }
}

}  // namespace automenu::platform
