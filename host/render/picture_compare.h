// PNG pictures compared pixel by pixel with ImageMagick: a pixel differs when
// its colour lies farther from the reference's than a threshold, which keeps
// the noise of anti-aliased edges (a glyph or needle edge a fraction of a
// pixel off) from counting; the difference image shows the reference faded
// with the differing pixels in red.
#pragma once

#include <string>

namespace render {

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The size of a PNG file from its header; empty on success, else why it cannot be read.
std::string ReadPictureSize(const std::string& path, PictureSize& size);

struct PictureDifference {
    std::string error;        // the pictures could not be read or compared (of different sizes, say)
    long long differing = 0;  // pixels farther apart than the threshold
};

// threshold: a colour distance from 0 (any change counts) to 1 (a channel's full range). When any pixel
// differs, the difference image is written to differencePath.
PictureDifference ComparePictures(const std::string& actualPath, const std::string& referencePath, double threshold,
                                  const std::string& differencePath);

}  // namespace render
