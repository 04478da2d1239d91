// screen_probe -- looks at a screenshot of the game in field coordinates.
//
// The end-to-end scripts take screenshots as PPM (P6, 8 or 16 bits a sample)
// and ask this tool what is where, in the field's own units: x from -60 to 60
// left to right, y from -45 to 45 bottom to top, over the whole image.
//
//   screen_probe count IMAGE COLOUR X0 Y0 X1 Y1   pixels of COLOUR in the rectangle
//   screen_probe diff IMAGE OTHER X0 Y0 X1 Y1     pixels that differ between the two
//   screen_probe centre IMAGE COLOUR              "X Y N": mean position and count, or "none"
//   screen_probe bounds IMAGE COLOUR X0 Y0 X1 Y1  "X0 Y0 X1 Y1" spanned by COLOUR there, or "none"
//
// A pixel belongs to the rectangle when its centre does. Colours are the
// game's pure ones: black, red, green, yellow, blue, magenta, cyan, white, and
// "lit" for anything not black. A channel counts as on at 200 of 255 or more
// and off at 55 or less, so the quantisation of a 16-bit display does not
// matter, while half-bright colours (the pulsing power-up) match no name.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // 8 bits a channel, rows from the top
};

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "screen_probe: %s\n", why.c_str());
    std::exit(2);
}

// One header number of a PPM, skipping blanks and comments.
long headerNumber(std::istream& in) {
    for (;;) {
        const int c = in.peek();
        if (c == '#') {
            std::string comment;
            std::getline(in, comment);
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            in.get();
        } else {
            break;
        }
    }
    long value = -1;
    if (!(in >> value)) return -1;
    return value;
}

Image load(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail(std::string("cannot open ") + path);
    char magic[2] = {};
    in.read(magic, 2);
    if (magic[0] != 'P' || magic[1] != '6') fail(std::string(path) + " is not a binary PPM");
    Image image;
    const long width = headerNumber(in);
    const long height = headerNumber(in);
    const long maxval = headerNumber(in);
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || maxval <= 0 ||
        maxval > 65535)
        fail(std::string(path) + ": bad PPM header");
    in.get();  // the single blank before the samples
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    const std::size_t samples = static_cast<std::size_t>(width) * height * 3;
    const int bytes = maxval > 255 ? 2 : 1;
    std::vector<unsigned char> raw(samples * bytes);
    in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size()));
    if (in.gcount() != static_cast<std::streamsize>(raw.size())) fail(std::string(path) + " is cut short");
    image.rgb.resize(samples);
    for (std::size_t i = 0; i < samples; ++i) {
        const long v = bytes == 2 ? (raw[2 * i] << 8 | raw[2 * i + 1]) : raw[i];
        image.rgb[i] = static_cast<unsigned char>((v * 255 + maxval / 2) / maxval);
    }
    return image;
}

enum class Level { Off, On, Between };

Level level(unsigned char v) {
    if (v >= 200) return Level::On;
    if (v <= 55) return Level::Off;
    return Level::Between;
}

// Bit 4 red, 2 green, 1 blue; -1 for a colour with a half-bright channel.
int colourOf(const unsigned char* p) {
    int bits = 0;
    for (int c = 0; c < 3; ++c) {
        const Level l = level(p[c]);
        if (l == Level::Between) return -1;
        if (l == Level::On) bits |= 4 >> c;
    }
    return bits;
}

bool matches(const unsigned char* p, const std::string& name) {
    if (name == "lit") return p[0] > 55 || p[1] > 55 || p[2] > 55;
    static const char* const names[] = {"black", "blue", "green", "cyan",
                                        "red", "magenta", "yellow", "white"};
    const int bits = colourOf(p);
    return bits >= 0 && name == names[bits];
}

bool knownColour(const std::string& name) {
    for (const char* n : {"lit", "black", "blue", "green", "cyan", "red", "magenta", "yellow", "white"})
        if (name == n) return true;
    return false;
}

double number(const char* text) {
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0') fail(std::string("not a number: ") + text);
    return v;
}

// Field coordinates of a pixel's centre.
double fieldX(const Image& image, int column) { return (column + 0.5) * 120.0 / image.width - 60.0; }
double fieldY(const Image& image, int row) { return 45.0 - (row + 0.5) * 90.0 / image.height; }

struct Rect {
    double x0, y0, x1, y1;
    bool holds(double x, double y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

Rect rectFrom(char** args) {
    double x0 = number(args[0]), y0 = number(args[1]), x1 = number(args[2]), y1 = number(args[3]);
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    return {x0, y0, x1, y1};
}

template <typename Visit>
void forEachPixel(const Image& image, const Rect& rect, Visit visit) {
    for (int row = 0; row < image.height; ++row) {
        const double y = fieldY(image, row);
        if (y < rect.y0 || y > rect.y1) continue;
        for (int column = 0; column < image.width; ++column)
            if (rect.holds(fieldX(image, column), y))
                visit(static_cast<std::size_t>(row) * image.width + column, column, row);
    }
}

int usage() {
    std::fprintf(stderr,
                 "usage: screen_probe count IMAGE COLOUR X0 Y0 X1 Y1\n"
                 "       screen_probe diff IMAGE OTHER X0 Y0 X1 Y1\n"
                 "       screen_probe centre IMAGE COLOUR\n"
                 "       screen_probe bounds IMAGE COLOUR X0 Y0 X1 Y1\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "count" && argc == 8) {
        const std::string colour = argv[3];
        if (!knownColour(colour)) fail("unknown colour " + colour);
        const Image image = load(argv[2]);
        long count = 0;
        forEachPixel(image, rectFrom(argv + 4), [&](std::size_t i, int, int) {
            if (matches(&image.rgb[3 * i], colour)) ++count;
        });
        std::printf("%ld\n", count);
        return 0;
    }
    if (command == "diff" && argc == 8) {
        const Image a = load(argv[2]);
        const Image b = load(argv[3]);
        if (a.width != b.width || a.height != b.height) fail("the two images differ in size");
        long count = 0;
        forEachPixel(a, rectFrom(argv + 4), [&](std::size_t i, int, int) {
            if (std::memcmp(&a.rgb[3 * i], &b.rgb[3 * i], 3) != 0) ++count;
        });
        std::printf("%ld\n", count);
        return 0;
    }
    if (command == "centre" && argc == 4) {
        const std::string colour = argv[3];
        if (!knownColour(colour)) fail("unknown colour " + colour);
        const Image image = load(argv[2]);
        long count = 0;
        double sumX = 0, sumY = 0;
        forEachPixel(image, {-60, -45, 60, 45}, [&](std::size_t i, int column, int row) {
            if (!matches(&image.rgb[3 * i], colour)) return;
            ++count;
            sumX += fieldX(image, column);
            sumY += fieldY(image, row);
        });
        if (count == 0)
            std::printf("none\n");
        else
            std::printf("%.2f %.2f %ld\n", sumX / count, sumY / count, count);
        return 0;
    }
    if (command == "bounds" && argc == 8) {
        const std::string colour = argv[3];
        if (!knownColour(colour)) fail("unknown colour " + colour);
        const Image image = load(argv[2]);
        bool any = false;
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        forEachPixel(image, rectFrom(argv + 4), [&](std::size_t i, int column, int row) {
            if (!matches(&image.rgb[3 * i], colour)) return;
            const double x = fieldX(image, column), y = fieldY(image, row);
            if (!any || x < x0) x0 = x;
            if (!any || x > x1) x1 = x;
            if (!any || y < y0) y0 = y;
            if (!any || y > y1) y1 = y;
            any = true;
        });
        if (any)
            std::printf("%.3f %.3f %.3f %.3f\n", x0, y0, x1, y1);
        else
            std::printf("none\n");
        return 0;
    }
    return usage();
}
