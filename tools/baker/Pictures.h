#pragma once
// The picture sources: text files in resources/pictures/ (*.pic), each holding
// one or more pictures described as shapes.
//
//   # comment
//   picture NAME WIDTH HEIGHT [alone] [loop N]   an animation set (NAME may be "quoted")
//   tiled NAME WIDTH HEIGHT                     a tiling texture: a whole sheet of its own
//   animation                                   starts the set's next animation
//   frame                                       starts the animation's next frame
//   SHAPE ARGS... [OPTION=VALUE...]             draws into the current frame
//
// Shapes (pixels, y down): rect X Y W H, circle CX CY R, ellipse CX CY RX RY,
// line X1 Y1 X2 Y2 WIDTH, poly X Y X Y ..., star CX CY OUTER INNER POINTS,
// text "WORDS" CX CY HEIGHT.
// Options: fill=#rrggbb[aa], grad=#top,#bottom, radial=#centre,#edge, nofill,
// stroke=COLOUR, sw=WIDTH, glow=COLOUR, gr=RADIUS, soft=PIXELS, alpha=0..1,
// r=CORNER (rect), rot=DEGREES (star), font=script|default (text).
#include <string>
#include <vector>

struct Command {
    std::string file;
    int line = 0;
    std::vector<std::string> words;
};

struct FrameSource {
    std::vector<Command> commands;
};

struct PictureSource {
    std::string name;
    std::string file;
    int line = 0;
    int width = 0, height = 0;
    bool alone = false;
    bool tiled = false;
    int loop = 0;  // 0: the whole animation
    std::vector<std::vector<FrameSource>> animations;
};

// Reads every *.pic file of the folder in name order; errors go to stderr
// with file and line, and the result is false.
bool ReadPictureSources(const std::string& folder, std::vector<PictureSource>& out);
