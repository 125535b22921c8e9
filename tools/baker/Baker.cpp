// The asset baker: draws the pictures described in resources/pictures/,
// packs them into sprite sheets, rasterises the two fonts into their sheets,
// writes the sheet data that tells the game where everything lies, and draws
// the start-up bitmaps.
//
//   gf_baker plan  --pictures DIR --sheet-size N
//       prints how many sprite sheets bake will write
//   gf_baker bake  --pictures DIR --sheet-size N --font-default TTF --font-script OTF --out DIR
//       writes sheetdata.bin, sheet_<i>.png, startup_<k>.bmp and picture_names.txt
//   gf_baker icon  --pictures DIR --name NAME --sizes N[,N...] --out DIR
//       draws the square picture NAME at each size into NAME-<N>.png
//   gf_baker check NAMES_FILE SOURCE_DIR
//       warns about every picture name the code asks for that the sheets lack
#include <stb_image_write.h>
#include <stb_rect_pack.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Fonts.h"
#include "Pictures.h"

namespace {

constexpr int kPad = 2;          // transparent-or-extruded border around each packed picture
constexpr int kFontSheet = 512;  // the font block's sheet size
constexpr int kStartupWidth = 400, kStartupHeight = 300;
const char* const kScriptFontName = "ashleyscriptmtstd";
const char* const kDefaultFontName = "default";

[[noreturn]] void Die(const std::string& why) {
    std::fprintf(stderr, "gf_baker: %s\n", why.c_str());
    std::exit(1);
}

// ---------------------------------------------------------------- layout

struct Item {
    size_t picture;
    size_t animation, frame;
    int width, height;
    int sheet = -1, x = 0, y = 0;
};

struct Layout {
    std::vector<Item> items;    // every frame of every set, in sheet-data order
    int sharedSheets = 0;       // sheets 0 .. sharedSheets-1 are shared
    std::vector<size_t> lone;   // item index of each lone sheet, in sheet order
    std::vector<size_t> tiled;  // picture index of each tiled sheet
    int sheetCount = 0;
    int firstTiled = 0;
};

// The size the game samples a picture at when it sits at x = 0 of its sheet:
// the loader's own rule, so a lone sheet is made exactly that size.
void LoneSheetSize(int sheetSize, int width, int height, int& w, int& h) {
    float fw = static_cast<float>(sheetSize), fh = static_cast<float>(sheetSize);
    const float pw = static_cast<float>(width), ph = static_cast<float>(height);
    while (fw < pw) fw *= 2;
    while (fh < ph) fh *= 2;
    while (pw < fw / 2) fw /= 2;
    while (ph < fh / 2) fh /= 2;
    w = static_cast<int>(fw);
    h = static_cast<int>(fh);
}

Layout Plan(const std::vector<PictureSource>& pictures, int sheetSize) {
    Layout layout;
    std::vector<size_t> shared;
    for (size_t p = 0; p < pictures.size(); ++p) {
        const PictureSource& pic = pictures[p];
        if (pic.tiled) {
            layout.tiled.push_back(p);
            continue;
        }
        for (size_t a = 0; a < pic.animations.size(); ++a) {
            for (size_t f = 0; f < pic.animations[a].size(); ++f) {
                layout.items.push_back({p, a, f, pic.width, pic.height});
                const bool fits = pic.width + 2 * kPad <= sheetSize && pic.height + 2 * kPad <= sheetSize;
                if (pic.alone || !fits) {
                    layout.lone.push_back(layout.items.size() - 1);
                } else {
                    shared.push_back(layout.items.size() - 1);
                }
            }
        }
    }
    // Shared sheets: pack what is left onto one sheet after another. Every
    // rectangle carries its padding, so no picture starts at x = 0 (the
    // loader takes a picture at x = 0 for one alone on its sheet).
    while (!shared.empty()) {
        std::vector<stbrp_rect> rects;
        for (size_t i = 0; i < shared.size(); ++i) {
            stbrp_rect r{};
            r.id = static_cast<int>(i);
            r.w = layout.items[shared[i]].width + 2 * kPad;
            r.h = layout.items[shared[i]].height + 2 * kPad;
            rects.push_back(r);
        }
        stbrp_context ctx;
        std::vector<stbrp_node> nodes(static_cast<size_t>(sheetSize));
        stbrp_init_target(&ctx, sheetSize, sheetSize, nodes.data(), sheetSize);
        stbrp_pack_rects(&ctx, rects.data(), static_cast<int>(rects.size()));
        std::vector<size_t> rest;
        bool any = false;
        for (const stbrp_rect& r : rects) {
            Item& item = layout.items[shared[static_cast<size_t>(r.id)]];
            if (r.was_packed) {
                item.sheet = layout.sharedSheets;
                item.x = r.x + kPad;
                item.y = r.y + kPad;
                any = true;
            } else {
                rest.push_back(shared[static_cast<size_t>(r.id)]);
            }
        }
        if (!any) Die("a picture does not fit on a sheet");
        std::sort(rest.begin(), rest.end());
        shared = rest;
        ++layout.sharedSheets;
    }
    int sheet = layout.sharedSheets;
    for (size_t i : layout.lone) {
        layout.items[i].sheet = sheet++;
        layout.items[i].x = layout.items[i].y = 0;
    }
    layout.firstTiled = sheet;
    sheet += static_cast<int>(layout.tiled.size());
    layout.sheetCount = sheet + 2;  // the two font sheets come last
    return layout;
}

// ---------------------------------------------------------------- drawing

const TypeFace* scriptFace = nullptr;
const TypeFace* defaultFace = nullptr;

float Number(const Command& c, size_t i) {
    if (i >= c.words.size()) Die(c.file + ":" + std::to_string(c.line) + ": missing number");
    char* end = nullptr;
    const float v = std::strtof(c.words[i].c_str(), &end);
    if (*end != 0 || !std::isfinite(v))
        Die(c.file + ":" + std::to_string(c.line) + ": bad number '" + c.words[i] + "'");
    return v;
}

Color ColorOf(const Command& c, const std::string& text) {
    Color col;
    if (!ParseColor(text, col)) Die(c.file + ":" + std::to_string(c.line) + ": bad colour '" + text + "'");
    return col;
}

void DrawCommand(Canvas& canvas, const Command& c) {
    const std::string& shape = c.words[0];
    const std::string where = c.file + ":" + std::to_string(c.line) + ": ";
    // Positional arguments, then options.
    // `nofill` is the one option without a value; it used to be read as a
    // positional word and dropped, so the shape was filled after all.
    auto isOption = [](const std::string& word) { return word.find('=') != std::string::npos || word == "nofill"; };
    size_t positional = 1;
    while (positional < c.words.size() && !isOption(c.words[positional])) ++positional;
    std::map<std::string, std::string> opt;
    for (size_t i = positional; i < c.words.size(); ++i) {
        if (c.words[i] == "nofill") {
            opt["nofill"] = "";
            continue;
        }
        const size_t eq = c.words[i].find('=');
        if (eq == std::string::npos) Die(where + "option without '='");
        opt[c.words[i].substr(0, eq)] = c.words[i].substr(eq + 1);
    }
    auto take = [&](const char* key) -> std::string {
        auto it = opt.find(key);
        if (it == opt.end()) return "";
        std::string v = it->second;
        opt.erase(it);
        return v;
    };
    Style style;
    std::string v;
    if (!(v = take("fill")).empty()) style.paint.a = ColorOf(c, v);
    auto pair = [&](const std::string& text, Paint::Kind kind) {
        const size_t comma = text.find(',');
        if (comma == std::string::npos) Die(where + "expected two colours");
        style.paint.kind = kind;
        style.paint.a = ColorOf(c, text.substr(0, comma));
        style.paint.b = ColorOf(c, text.substr(comma + 1));
    };
    if (!(v = take("grad")).empty()) pair(v, Paint::Vertical);
    if (!(v = take("radial")).empty()) pair(v, Paint::Radial);
    if (opt.count("nofill")) {
        take("nofill");
        style.fill = false;
    }
    if (!(v = take("stroke")).empty()) {
        style.stroke = true;
        style.strokeColor = ColorOf(c, v);
    }
    if (!(v = take("sw")).empty()) style.strokeWidth = std::strtof(v.c_str(), nullptr);
    if (!(v = take("glow")).empty()) {
        style.glow = true;
        style.glowColor = ColorOf(c, v);
    }
    if (!(v = take("gr")).empty()) style.glowRadius = std::strtof(v.c_str(), nullptr);
    if (!(v = take("soft")).empty()) style.softness = std::strtof(v.c_str(), nullptr);
    if (!(v = take("alpha")).empty()) style.opacity = std::strtof(v.c_str(), nullptr);
    const float corner = (v = take("r")).empty() ? 0.0f : std::strtof(v.c_str(), nullptr);
    const float rotation = (v = take("rot")).empty() ? 0.0f : std::strtof(v.c_str(), nullptr);
    const std::string font = take("font");
    if (!opt.empty()) Die(where + "unknown option '" + opt.begin()->first + "'");

    if (shape == "rect") {
        const float x = Number(c, 1), y = Number(c, 2), w = Number(c, 3), h = Number(c, 4);
        canvas.Draw(RectDistance(x, y, w, h, corner), {x, y, x + w, y + h}, style);
    } else if (shape == "circle") {
        const float x = Number(c, 1), y = Number(c, 2), r = Number(c, 3);
        canvas.Draw(CircleDistance(x, y, r), {x - r, y - r, x + r, y + r}, style);
    } else if (shape == "ellipse") {
        const float x = Number(c, 1), y = Number(c, 2), rx = Number(c, 3), ry = Number(c, 4);
        canvas.Draw(EllipseDistance(x, y, rx, ry), {x - rx, y - ry, x + rx, y + ry}, style);
    } else if (shape == "line") {
        const float x1 = Number(c, 1), y1 = Number(c, 2), x2 = Number(c, 3), y2 = Number(c, 4), w = Number(c, 5);
        canvas.Draw(
            LineDistance(x1, y1, x2, y2, w),
            {std::min(x1, x2) - w / 2, std::min(y1, y2) - w / 2, std::max(x1, x2) + w / 2, std::max(y1, y2) + w / 2},
            style);
    } else if (shape == "poly" || shape == "star") {
        std::vector<float> xy;
        if (shape == "poly") {
            if (positional < 7 || positional % 2 == 0) Die(where + "poly needs three or more points");
            for (size_t i = 1; i < positional; ++i) xy.push_back(Number(c, i));
        } else {
            xy = StarPoints(Number(c, 1), Number(c, 2), Number(c, 3), Number(c, 4), static_cast<int>(Number(c, 5)),
                            rotation);
        }
        Bounds b{1e9f, 1e9f, -1e9f, -1e9f};
        for (size_t i = 0; i < xy.size(); i += 2) {
            b.x0 = std::min(b.x0, xy[i]);
            b.x1 = std::max(b.x1, xy[i]);
            b.y0 = std::min(b.y0, xy[i + 1]);
            b.y1 = std::max(b.y1, xy[i + 1]);
        }
        canvas.Draw(PolygonDistance(xy), b, style);
    } else if (shape == "text") {
        if (positional < 5) Die(where + "expected: text \"WORDS\" CX CY HEIGHT");
        const TypeFace* face = font == "default" ? defaultFace : scriptFace;
        if (face == nullptr) Die(where + "text needs the fonts (--font-default and --font-script)");
        const float cx = Number(c, 2), cy = Number(c, 3), h = Number(c, 4), s = canvas.Scale();
        canvas.DrawMask(face->TextMask(c.words[1], cx * s, cy * s, h * s, canvas.Width(), canvas.Height()),
                        {0, cy - h / 2, static_cast<float>(canvas.Width()) / s, cy + h / 2}, style);
    } else {
        Die(where + "unknown shape '" + shape + "'");
    }
}

std::vector<unsigned char> DrawFrame(const PictureSource& pic, const FrameSource& frame) {
    Canvas canvas(pic.width, pic.height);
    for (const Command& c : frame.commands) DrawCommand(canvas, c);
    return canvas.ToRGBA8();
}

// ---------------------------------------------------------------- output

class Bytes {
public:
    void Int(std::int32_t v) {
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i)));
    }
    void Float(float f) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        Int(static_cast<std::int32_t>(bits));
    }
    void Name(const std::string& s) {
        data += s;
        data.push_back('\0');
    }
    std::string data;
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) Die("cannot write " + path);
}

void WritePng(const std::string& path, int w, int h, const std::vector<unsigned char>& rgba) {
    if (!stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4)) Die("cannot write " + path);
}

std::string TextureName(const PictureSource& pic, size_t flatFrame) {
    return flatFrame == 0 ? pic.name : pic.name + " " + std::to_string(flatFrame);
}

void Blit(std::vector<unsigned char>& sheet, int sheetW, int sheetH, const std::vector<unsigned char>& pic, int w,
          int h, int x0, int y0, int extrude) {
    for (int y = -extrude; y < h + extrude; ++y) {
        for (int x = -extrude; x < w + extrude; ++x) {
            const int tx = x0 + x, ty = y0 + y;
            if (tx < 0 || ty < 0 || tx >= sheetW || ty >= sheetH) continue;
            const int sx = std::clamp(x, 0, w - 1), sy = std::clamp(y, 0, h - 1);
            std::memcpy(&sheet[(static_cast<size_t>(ty) * static_cast<size_t>(sheetW) + static_cast<size_t>(tx)) * 4],
                        &pic[(static_cast<size_t>(sy) * static_cast<size_t>(w) + static_cast<size_t>(sx)) * 4], 4);
        }
    }
}

// The three start-up pictures: the moon over a field of stars, the title in
// the script face, and a line of dots that grows from picture to picture.
void WriteStartupBitmaps(const std::string& out) {
    for (int k = 0; k < 3; ++k) {
        Canvas c(kStartupWidth, kStartupHeight);
        const float W = kStartupWidth, H = kStartupHeight;
        Style sky;
        sky.paint = {Paint::Vertical, {0.03f, 0.03f, 0.10f, 1}, {0.10f, 0.07f, 0.22f, 1}};
        c.Draw(RectDistance(-2, -2, W + 4, H + 4, 0), {0, 0, W, H}, sky);
        // Stars twinkle: each picture lights a different third of them brighter.
        unsigned seed = 12345;
        auto rnd = [&] {
            seed = seed * 1103515245u + 12345u;
            return static_cast<float>((seed >> 8) & 0xffff) / 65535.0f;
        };
        for (int i = 0; i < 46; ++i) {
            const float x = rnd() * W, y = rnd() * H * 0.62f, r = 1.0f + rnd() * 1.6f;
            const bool bright = i % 3 == k;
            Style star;
            star.paint.a = {1.0f, 0.96f, 0.85f, bright ? 1.0f : 0.55f};
            star.glow = true;
            star.glowColor = {0.75f, 0.8f, 1.0f, bright ? 0.8f : 0.3f};
            star.glowRadius = bright ? 5 : 3;
            if (bright && i % 2 == 0) {
                c.Draw(PolygonDistance(StarPoints(x, y, r * 3.2f, r * 0.9f, 4, 0)), {x - 5, y - 5, x + 5, y + 5}, star);
            } else {
                c.Draw(CircleDistance(x, y, r * 0.8f), {x - r, y - r, x + r, y + r}, star);
            }
        }
        // The moon, with soft craters and a halo.
        Style moon;
        moon.paint = {Paint::Radial, {1.0f, 0.98f, 0.88f, 1}, {0.86f, 0.83f, 0.70f, 1}};
        moon.glow = true;
        moon.glowColor = {0.9f, 0.88f, 0.7f, 0.55f};
        moon.glowRadius = 18;
        c.Draw(CircleDistance(318, 70, 34), {284, 36, 352, 104}, moon);
        Style crater;
        crater.paint.a = {0.72f, 0.69f, 0.58f, 0.45f};
        crater.softness = 3;
        c.Draw(CircleDistance(306, 60, 8), {298, 52, 314, 68}, crater);
        c.Draw(CircleDistance(330, 84, 6), {324, 78, 336, 90}, crater);
        c.Draw(CircleDistance(328, 56, 4), {324, 52, 332, 60}, crater);
        // Rolling hills.
        Style hill;
        hill.paint = {Paint::Vertical, {0.07f, 0.16f, 0.14f, 1}, {0.02f, 0.05f, 0.05f, 1}};
        c.Draw(EllipseDistance(90, 330, 260, 95), {-170, 235, 350, 425}, hill);
        hill.paint = {Paint::Vertical, {0.05f, 0.12f, 0.12f, 1}, {0.01f, 0.03f, 0.04f, 1}};
        c.Draw(EllipseDistance(340, 345, 220, 85), {120, 260, 560, 430}, hill);
        // Title and the loading dots.
        Style title;
        title.paint.a = {0.96f, 0.93f, 1.0f, 1};
        title.glow = true;
        title.glowColor = {0.62f, 0.55f, 1.0f, 0.9f};
        title.glowRadius = 7;
        c.DrawMask(scriptFace->TextMask("Glimmerfall", W / 2, 150, 76, kStartupWidth, kStartupHeight), {0, 112, W, 188},
                   title);
        Style dot;
        dot.glow = true;
        dot.glowColor = {0.95f, 0.9f, 0.5f, 0.9f};
        dot.glowRadius = 5;
        for (int i = 0; i <= k; ++i) {
            const float x = W / 2 - 20 + 20 * static_cast<float>(i);
            dot.paint.a = {1.0f, 0.95f, 0.6f, 1};
            c.Draw(CircleDistance(x, 232, 4), {x - 4, 228, x + 4, 236}, dot);
        }
        const std::vector<unsigned char> rgba = c.ToRGBA8();
        std::vector<unsigned char> rgb(static_cast<size_t>(kStartupWidth * kStartupHeight) * 3);
        for (size_t i = 0; i < rgb.size() / 3; ++i) {
            for (int ch = 0; ch < 3; ++ch) {
                const float a = rgba[i * 4 + 3] / 255.0f;
                rgb[i * 3 + static_cast<size_t>(ch)] =
                    static_cast<unsigned char>(rgba[i * 4 + static_cast<size_t>(ch)] * a + 0.5f);
            }
        }
        const std::string path = out + "/startup_" + std::to_string(k) + ".bmp";
        if (!stbi_write_bmp(path.c_str(), kStartupWidth, kStartupHeight, 3, rgb.data())) Die("cannot write " + path);
    }
}

void WriteFontRecord(Bytes& b, const std::string& name, int sheet, const TypeFace::Sheet& s) {
    b.Name(name);
    b.Int(sheet);
    for (float u : s.u) b.Float(u);
    for (float v : s.v) b.Float(v);
    for (float w : s.width) b.Float(w);
    b.Float(s.height);
}

int Bake(const std::vector<PictureSource>& pictures, int sheetSize, const std::string& defaultFont,
         const std::string& scriptFont, const std::string& out) {
    TypeFace def, script;
    if (!def.Load(defaultFont)) Die("cannot read the font " + defaultFont);
    if (!script.Load(scriptFont)) Die("cannot read the font " + scriptFont);
    defaultFace = &def;
    scriptFace = &script;
    std::filesystem::create_directories(out);

    const Layout layout = Plan(pictures, sheetSize);
    std::vector<std::vector<unsigned char>> shared(
        static_cast<size_t>(layout.sharedSheets),
        std::vector<unsigned char>(static_cast<size_t>(sheetSize) * static_cast<size_t>(sheetSize) * 4, 0));
    Bytes b;
    b.Int(sheetSize);
    b.Int(sheetSize);
    b.Int(layout.sheetCount);
    b.Int(static_cast<std::int32_t>(layout.items.size()));
    for (size_t i = 0; i < layout.items.size(); ++i) {
        const Item& item = layout.items[i];
        const PictureSource& pic = pictures[item.picture];
        const std::vector<unsigned char> rgba = DrawFrame(pic, pic.animations[item.animation][item.frame]);
        const size_t flat = item.animation * pic.animations[0].size() + item.frame;
        b.Name(TextureName(pic, flat));
        b.Int(item.sheet);
        b.Int(item.x);
        b.Int(item.y);
        b.Float(static_cast<float>(item.width));
        b.Float(static_cast<float>(item.height));
        if (item.sheet < layout.sharedSheets) {
            Blit(shared[static_cast<size_t>(item.sheet)], sheetSize, sheetSize, rgba, item.width, item.height, item.x,
                 item.y, kPad);
        } else {
            int w, h;
            LoneSheetSize(sheetSize, item.width, item.height, w, h);
            std::vector<unsigned char> sheet(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
            Blit(sheet, w, h, rgba, item.width, item.height, 0, 0, 0);
            WritePng(out + "/sheet_" + std::to_string(item.sheet) + ".png", w, h, sheet);
        }
    }
    for (int s = 0; s < layout.sharedSheets; ++s) {
        WritePng(out + "/sheet_" + std::to_string(s) + ".png", sheetSize, sheetSize, shared[static_cast<size_t>(s)]);
    }

    // Animation sets: one per picture, frames in order.
    std::int32_t setCount = 0;
    for (const PictureSource& pic : pictures) setCount += pic.tiled ? 0 : 1;
    b.Int(setCount);
    size_t texture = 0;
    std::ostringstream names;
    for (const PictureSource& pic : pictures) {
        if (pic.tiled) continue;
        const int frames = static_cast<int>(pic.animations[0].size());
        b.Name(pic.name);
        b.Int(pic.loop ? pic.loop : frames);
        b.Int(static_cast<std::int32_t>(pic.animations.size()));
        b.Int(frames);
        for (size_t f = 0; f < pic.animations.size() * static_cast<size_t>(frames); ++f) {
            b.Int(1);
            b.Float(0);
            b.Float(0);
            b.Float(1);
            b.Float(1);
            b.Int(-1);
            b.Float(0);
            b.Int(static_cast<std::int32_t>(texture++));
        }
        names << "set " << pic.name << "\n";
    }

    b.Int(static_cast<std::int32_t>(layout.tiled.size()));
    b.Int(layout.firstTiled);
    for (size_t i = 0; i < layout.tiled.size(); ++i) {
        const PictureSource& pic = pictures[layout.tiled[i]];
        b.Name(pic.name);
        WritePng(out + "/sheet_" + std::to_string(layout.firstTiled + static_cast<int>(i)) + ".png", pic.width,
                 pic.height, DrawFrame(pic, pic.animations[0][0]));
        names << "tiled " << pic.name << "\n";
    }

    const TypeFace::Sheet scriptSheet = script.BakeSheet(kFontSheet);
    const TypeFace::Sheet defaultSheet = def.BakeSheet(kFontSheet);
    b.Int(kFontSheet);
    b.Int(kFontSheet);
    b.Int(2);
    WriteFontRecord(b, kScriptFontName, layout.sheetCount - 2, scriptSheet);
    WriteFontRecord(b, kDefaultFontName, layout.sheetCount - 1, defaultSheet);
    WritePng(out + "/sheet_" + std::to_string(layout.sheetCount - 2) + ".png", kFontSheet, kFontSheet,
             scriptSheet.rgba);
    WritePng(out + "/sheet_" + std::to_string(layout.sheetCount - 1) + ".png", kFontSheet, kFontSheet,
             defaultSheet.rgba);
    names << "set " << kScriptFontName << "\nset " << kDefaultFontName << "\n";

    WriteFile(out + "/sheetdata.bin", b.data);
    WriteFile(out + "/picture_names.txt", names.str());
    WriteStartupBitmaps(out);
    return 0;
}

// ---------------------------------------------------------------- icons

// The picture called name, drawn square at each of the sizes (a list such as
// "64,128,256") into out/<name>-<size>.png: the desktop's icons, scaled from
// one description rather than shrunk from one drawing.
int Icons(const std::vector<PictureSource>& pictures, const std::string& name, const std::string& sizes,
          const std::string& out) {
    const PictureSource* picture = nullptr;
    for (const PictureSource& pic : pictures) {
        if (pic.name == name) picture = &pic;
    }
    if (picture == nullptr) Die("no picture called \"" + name + "\"");
    if (picture->width != picture->height) Die("the icon \"" + name + "\" is not square");
    if (picture->animations.size() != 1 || picture->animations[0].size() != 1)
        Die("the icon \"" + name + "\" has more than one frame");
    std::filesystem::create_directories(out);
    std::stringstream list(sizes);
    std::string item;
    int written = 0;
    while (std::getline(list, item, ',')) {
        char* end = nullptr;
        const long size = std::strtol(item.c_str(), &end, 10);
        if (end == item.c_str() || *end != 0 || size < 16 || size > 1024) Die("bad icon size '" + item + "'");
        Canvas canvas(static_cast<int>(size), static_cast<int>(size));
        canvas.SetScale(static_cast<float>(size) / static_cast<float>(picture->width));
        for (const Command& c : picture->animations[0][0].commands) DrawCommand(canvas, c);
        WritePng(out + "/" + name + "-" + std::to_string(size) + ".png", static_cast<int>(size), static_cast<int>(size),
                 canvas.ToRGBA8());
        ++written;
    }
    if (written == 0) Die("no icon sizes given");
    return 0;
}

// ---------------------------------------------------------------- check

// The calls that name a picture (an animation set) or a tiled texture.
int Check(const std::string& namesFile, const std::string& sourceDir) {
    std::ifstream in(namesFile);
    if (!in) Die("cannot read " + namesFile);
    std::set<std::string> sets, tiled;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("set ", 0) == 0) sets.insert(line.substr(4));
        if (line.rfind("tiled ", 0) == 0) tiled.insert(line.substr(6));
    }
    const std::regex setCall(R"re(\b(FrameMap|SetAnimationSet|SwapAnimationSet)\s*\(\s*"([^"\\]*)")re");
    const std::regex tiledCall(
        R"re(\b(FindTiledTexture\s*\(|TiledTexMap\s*(\[|\.find\s*\(|\.at\s*\())\s*"([^"\\]*)")re");
    // A variable that names a picture by default (texture, hoverTexture,
    // textureBack, font, ...): a set or a tiled texture.
    const std::regex nameVariable(R"re(\b\w*(Texture|texture|Font|font)\w*\s*=\s*"([^"\\]+)")re");
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(sourceDir)) {
        const auto ext = e.path().extension();
        if (e.is_regular_file() && (ext == ".cpp" || ext == ".h")) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    std::set<std::string> reported;
    for (const auto& path : files) {
        std::ifstream src(path);
        int lineNo = 0;
        while (std::getline(src, line)) {
            ++lineNo;
            auto report = [&](const std::string& kind, const std::string& name) {
                if (!reported.insert(kind + name).second) return;
                std::printf("warning: the sprite sheets have no %s \"%s\" (asked for at %s:%d)\n", kind.c_str(),
                            name.c_str(), std::filesystem::relative(path, sourceDir).c_str(), lineNo);
            };
            for (std::sregex_iterator it(line.begin(), line.end(), setCall), end; it != end; ++it) {
                if (!sets.count((*it)[2])) report("picture", (*it)[2]);
            }
            for (std::sregex_iterator it(line.begin(), line.end(), tiledCall), end; it != end; ++it) {
                if (!tiled.count((*it)[3])) report("tiled texture", (*it)[3]);
            }
            for (std::sregex_iterator it(line.begin(), line.end(), nameVariable), end; it != end; ++it) {
                if (!sets.count((*it)[2]) && !tiled.count((*it)[2])) report("picture", (*it)[2]);
            }
        }
    }
    return 0;
}

std::string Arg(int argc, char** argv, const char* key, bool required = true) {
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], key) == 0) return argv[i + 1];
    }
    if (required) Die(std::string("missing ") + key);
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) Die("usage: gf_baker plan|bake|icon|check ...");
    const std::string mode = argv[1];
    if (mode == "check") {
        if (argc != 4) Die("usage: gf_baker check NAMES_FILE SOURCE_DIR");
        return Check(argv[2], argv[3]);
    }
    std::vector<PictureSource> pictures;
    if (!ReadPictureSources(Arg(argc, argv, "--pictures"), pictures)) return 1;
    if (mode == "icon") {
        return Icons(pictures, Arg(argc, argv, "--name"), Arg(argc, argv, "--sizes"), Arg(argc, argv, "--out"));
    }
    const int sheetSize = std::atoi(Arg(argc, argv, "--sheet-size").c_str());
    if (sheetSize < 64 || (sheetSize & (sheetSize - 1)) != 0) Die("the sheet size must be a power of two, 64 or more");
    if (mode == "plan") {
        std::printf("%d\n", Plan(pictures, sheetSize).sheetCount);
        return 0;
    }
    if (mode == "bake") {
        return Bake(pictures, sheetSize, Arg(argc, argv, "--font-default"), Arg(argc, argv, "--font-script"),
                    Arg(argc, argv, "--out"));
    }
    Die("unknown mode " + mode);
}
