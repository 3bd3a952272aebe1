#include "render/picture_compare.h"

#include <Magick++.h>

#include <cmath>

namespace render {
namespace {

void Initialise() {
    static const bool initialised = [] {
        Magick::InitializeMagick(nullptr);
        return true;
    }();
    (void)initialised;
}

// ImageMagick's quantum: 16 bits per channel in Debian's build.
double FullRange() {
    using MagickCore::Quantum;
    return static_cast<double>(QuantumRange);
}

}  // namespace

std::string ReadPictureSize(const std::string& path, PictureSize& size) {
    Initialise();
    try {
        Magick::Image image;
        image.quiet(true);
        image.ping(path);
        size.width = static_cast<int>(image.columns());
        size.height = static_cast<int>(image.rows());
        return std::string();
    } catch (const Magick::Exception& error) {
        return error.what();
    }
}

PictureDifference ComparePictures(const std::string& actualPath, const std::string& referencePath, double threshold,
                                  const std::string& differencePath) {
    Initialise();
    PictureDifference result;
    try {
        Magick::Image actual, reference;
        actual.quiet(true);
        reference.quiet(true);
        actual.read(actualPath);
        reference.read(referencePath);
        if (actual.columns() != reference.columns() || actual.rows() != reference.rows()) {
            result.error = "the pictures differ in size: " + std::to_string(actual.columns()) + "x" +
                           std::to_string(actual.rows()) + " against " + std::to_string(reference.columns()) + "x" +
                           std::to_string(reference.rows());
            return result;
        }
        actual.colorFuzz(threshold * FullRange());
        double differing = 0.0;
        Magick::Image difference = actual.compare(reference, MagickCore::AbsoluteErrorMetric, &differing);
        result.differing = std::llround(differing);
        if (result.differing > 0) difference.write(differencePath);
    } catch (const Magick::Exception& error) {
        result.error = error.what();
    }
    return result;
}

}  // namespace render
