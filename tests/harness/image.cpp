// RGB images: pixel access, counting, comparison, and PNG files (libpng).
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "harness.h"

namespace e2e {

std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

std::ostream& operator<<(std::ostream& os, const Pixel& p)
{
    return os << "pixel (" << p.x << ", " << p.y << ")";
}

Rgb rgbFromFloat(double r, double g, double b)
{
    auto channel = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255.0)); };
    return {channel(r), channel(g), channel(b)};
}

bool near(const Rgb& a, const Rgb& b, int tolerance)
{
    return std::abs(int(a.r) - int(b.r)) <= tolerance && std::abs(int(a.g) - int(b.g)) <= tolerance &&
           std::abs(int(a.b) - int(b.b)) <= tolerance;
}

Image::Image(int width, int height)
    : width_(width), height_(height), rgb_(static_cast<std::size_t>(width) * height * 3, 0)
{
}

Rgb Image::at(int x, int y) const
{
    if (!contains(x, y))
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") outside a " + std::to_string(width_) + "x" +
                                std::to_string(height_) + " image");
    const std::uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    return {p[0], p[1], p[2]};
}

void Image::set(int x, int y, Rgb c)
{
    if (!contains(x, y))
        throw std::out_of_range("pixel outside the image");
    std::uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

int Image::count(Rgb c, int tolerance) const
{
    return count(c, 0, 0, width_, height_, tolerance);
}

int Image::count(Rgb c, int x0, int y0, int w, int h, int tolerance) const
{
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(height_, y0 + h); ++y)
        for (int x = std::max(0, x0); x < std::min(width_, x0 + w); ++x)
            if (near(at(x, y), c, tolerance))
                ++n;
    return n;
}

Image Image::crop(int x0, int y0, int w, int h) const
{
    const int left = std::max(0, x0), top = std::max(0, y0);
    const int right = std::min(width_, x0 + w), bottom = std::min(height_, y0 + h);
    Image part(std::max(0, right - left), std::max(0, bottom - top));
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            part.set(x - left, y - top, at(x, y));
    return part;
}

ImageDifference compareImages(const Image& actual, const Image& expected, int tolerance)
{
    ImageDifference d;
    d.total = actual.width() * actual.height();
    if (actual.width() != expected.width() || actual.height() != expected.height()) {
        d.sizesDiffer = true;
        d.pixels = d.total;
        if (d.total > 0)
            d.first = {0, 0};
        return d;
    }
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (!near(actual.at(x, y), expected.at(x, y), tolerance) && d.pixels++ == 0)
                d.first = {x, y};
    return d;
}

std::string describe(const ImageDifference& d, const Image& actual, const Image& expected)
{
    std::ostringstream os;
    if (d.sizesDiffer)
        os << "the image is " << actual.width() << "x" << actual.height() << ", not " << expected.width() << "x"
           << expected.height();
    else if (d.none())
        os << "the images are alike";
    else
        os << d.pixels << " of " << d.total << " pixels differ, the first " << d.first << ": "
           << actual.at(d.first) << " instead of " << expected.at(d.first);
    return os.str();
}

std::string saveScreenshot(const Image& img, const std::string& name, const std::string& dir)
{
    std::string path = (dir.empty() ? std::filesystem::temp_directory_path().string() : dir) + "/" + name + ".png";
    img.savePng(path);
    return path;
}

// PNG files through libpng's simplified API: 8-bit RGB rows, top row first.
Image Image::read(const std::string& path)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        throw std::runtime_error("cannot read " + path + " as a PNG image: " + png.message);
    png.format = PNG_FORMAT_RGB;
    Image img(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!png_image_finish_read(&png, nullptr, img.rgb_.data(), 0, nullptr)) {
        png_image_free(&png);
        throw std::runtime_error("cannot read " + path + " as a PNG image: " + png.message);
    }
    return img;
}

void Image::savePng(const std::string& path) const
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(width_);
    png.height = static_cast<png_uint_32>(height_);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, rgb_.data(), 0, nullptr))
        throw std::runtime_error("cannot write " + path + ": " + png.message);
}

}  // namespace e2e
