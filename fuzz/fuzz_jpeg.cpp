// Any bytes as a JPEG picture file, checked and decoded as shown on a 1280 x
// 1024 screen. The decoder also gets files the check refuses, since it must
// stand any bytes on its own.
#include "base/Exceptions.h"
#include "formats/CompressedImage.h"
#include "platform/cairo/PictureDecoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        automenu::ReadCompressedImageSize(automenu::CompressedImageFormat::Jpeg, {data, size});
    } catch (const automenu::Exception&) {}
    automenu::PixelImage out;
    automenu::platform::DecodeJpegPart({data, size}, {1280, 1024}, out);
    return 0;
}
