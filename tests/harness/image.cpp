// RGB images: pixel access, counting, comparison, PNG output (written with
// stored deflate blocks, so no compression library is needed) and input
// (through ImageMagick, which hands over a PPM).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
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
    std::string base = dir;
    if (base.empty()) {
        const char* t = std::getenv("TMPDIR");
        base = t && *t ? t : "/tmp";
    }
    std::string path = base + "/" + name + ".png";
    img.savePng(path);
    return path;
}

namespace {

// The next word of a PPM header, past white space and "#" comment lines.
std::string ppmWord(std::istream& in)
{
    std::string word;
    while (in >> word && word[0] == '#') {
        std::string rest;
        std::getline(in, rest);
    }
    return word;
}

// A binary PPM ("P6", maximum 255) from a stream; `what` names it in errors.
Image parsePpm(std::istream& in, const std::string& what)
{
    std::string magic = ppmWord(in);
    int width = std::atoi(ppmWord(in).c_str()), height = std::atoi(ppmWord(in).c_str());
    int maxValue = std::atoi(ppmWord(in).c_str());
    if (!in || magic != "P6" || width <= 0 || height <= 0 || maxValue != 255)
        throw std::runtime_error(what + " is not an 8-bit binary PPM image");
    in.get();  // the one white-space character before the pixels
    Image img(width, height);
    std::vector<char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        if (!in.read(row.data(), static_cast<std::streamsize>(row.size())))
            throw std::runtime_error(what + " ends before its last pixel");
        for (int x = 0; x < width; ++x) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(&row[static_cast<std::size_t>(x) * 3]);
            img.set(x, y, {p[0], p[1], p[2]});
        }
    }
    return img;
}

}  // namespace

Image Image::read(const std::string& path)
{
    if (!std::ifstream(path))
        throw std::runtime_error("cannot read " + path);
    // ImageMagick writes it as a PPM; single quotes keep the path one word.
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("convert " + quoted + " -depth 8 ppm:- 2>/dev/null").c_str(), "r"),
                                               pclose);
    if (!pipe)
        throw std::runtime_error("cannot run ImageMagick's convert for " + path);
    std::string data;
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0;)
        data.append(buf, n);
    std::istringstream in(data);
    try {
        return parsePpm(in, "what ImageMagick's convert made of " + path);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(std::string(e.what()) + " (is ImageMagick installed? apt-get install imagemagick)");
    }
}

namespace {

std::uint32_t crc32(const std::uint8_t* data, std::size_t n, std::uint32_t crc = 0)
{
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBE32(std::vector<std::uint8_t>& v, std::uint32_t x)
{
    v.push_back(std::uint8_t(x >> 24));
    v.push_back(std::uint8_t(x >> 16));
    v.push_back(std::uint8_t(x >> 8));
    v.push_back(std::uint8_t(x));
}

void putChunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& body)
{
    putBE32(png, static_cast<std::uint32_t>(body.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    putBE32(png, crc32(typed.data(), typed.size()));
}

}  // namespace

void Image::savePng(const std::string& path) const
{
    // Raw scanlines, each prefixed with filter type 0.
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(height_) * (width_ * 3 + 1));
    for (int y = 0; y < height_; ++y) {
        raw.push_back(0);
        const auto* row = &rgb_[static_cast<std::size_t>(y) * width_ * 3];
        raw.insert(raw.end(), row, row + width_ * 3);
    }
    // zlib stream of stored blocks.
    std::vector<std::uint8_t> z{0x78, 0x01};
    std::size_t pos = 0;
    do {
        std::size_t len = std::min<std::size_t>(65535, raw.size() - pos);
        bool last = pos + len == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(std::uint8_t(len));
        z.push_back(std::uint8_t(len >> 8));
        z.push_back(std::uint8_t(~len));
        z.push_back(std::uint8_t(~len >> 8));
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + len);
        pos += len;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBE32(z, (b << 16) | a);

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    putBE32(ihdr, static_cast<std::uint32_t>(width_));
    putBE32(ihdr, static_cast<std::uint32_t>(height_));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    putChunk(png, "IHDR", ihdr);
    putChunk(png, "IDAT", z);
    putChunk(png, "IEND", {});

    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace e2e
