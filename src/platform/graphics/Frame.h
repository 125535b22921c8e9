#pragma once

// One sprite picture: an index into the global texture table. The renderer
// uses only the index; the other fields are kept as the sheet data gives them.
struct Frame {
    int texture = 0;
    float a = 0.0f, b = 0.0f, c = 1.0f, d = 1.0f;
    int e = -1;
    float f = 0.0f;

    // The default frame: the picture "white" once the sheets are loaded.
    static Frame white;
};
