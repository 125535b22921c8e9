#include "platform/input/Keyboard.h"

#include <algorithm>

#include "platform/input/InputHooks.h"
#include "platform/input/KeyCodes.h"

Keyboard_ Keyboard;

Keyboard_::Keyboard_() { DetermineKeyVisibility(); }

bool Keyboard_::Init() {
    for (int k = 0; k < NUM_KEYS; ++k) {
        liveKeys[k].store(0, std::memory_order_relaxed);
        latchedKeys[k].store(0, std::memory_order_relaxed);
    }
    {
        std::lock_guard<std::recursive_mutex> hold(Critical);
        current.fill(0);
        previous.fill(0);
        pending.fill(0);
        pressedSince.fill(0);
        lastPoll.fill(0);
        poll.fill(0);
        presses.clear();
    }
    DetermineKeyVisibility();
    Reset();
    return true;
}

void Keyboard_::DetermineKeyVisibility() {
    static const unsigned char letters[26] = {DIK_A, DIK_B, DIK_C, DIK_D, DIK_E, DIK_F, DIK_G, DIK_H, DIK_I,
                                              DIK_J, DIK_K, DIK_L, DIK_M, DIK_N, DIK_O, DIK_P, DIK_Q, DIK_R,
                                              DIK_S, DIK_T, DIK_U, DIK_V, DIK_W, DIK_X, DIK_Y, DIK_Z};
    typed.fill(Typed{});
    typingOrder.clear();
    auto add = [this](unsigned char key, char plain, char shifted, bool letter) {
        typingOrder.push_back(key);
        typed[key] = Typed{plain, shifted, letter};
    };
    static const char digits[] = "1234567890";
    static const char digitsShifted[] = "!@#$%^&*()";
    for (int i = 0; i < 10; ++i) add(static_cast<unsigned char>(DIK_1 + i), digits[i], digitsShifted[i], false);
    struct Other {
        unsigned char key;
        char plain, shifted;
    };
    static const Other others[] = {
        {DIK_MINUS, '-', '_'},      {DIK_EQUALS, '=', '+'},    {DIK_LBRACKET, '[', '{'},    {DIK_RBRACKET, ']', '}'},
        {DIK_BACKSLASH, '\\', '|'}, {DIK_SEMICOLON, ';', ':'}, {DIK_APOSTROPHE, '\'', '"'}, {DIK_COMMA, ',', '<'},
        {DIK_PERIOD, '.', '>'},     {DIK_SLASH, '/', '?'},     {DIK_SPACE, ' ', ' '},       {DIK_GRAVE, '`', '~'},
        {DIK_TAB, '\t', '\t'},      {DIK_RETURN, '\n', '\n'},
    };
    for (const Other& o : others) add(o.key, o.plain, o.shifted, false);
    for (int i = 0; i < 26; ++i) add(letters[i], static_cast<char>('a' + i), static_cast<char>('A' + i), true);
}

char Keyboard_::Translate(unsigned char key, bool shift, bool caps) const {
    const Typed& t = typed[key];
    return (t.letter ? shift != caps : shift) ? t.shifted : t.plain;
}

char Keyboard_::Character(unsigned char key) const {
    return Translate(key, current[DIK_LSHIFT] || current[DIK_RSHIFT], CapsLockOn());
}

void Keyboard_::DeviceKey(unsigned char key, bool down, bool repeat) {
    if (!down) {
        liveKeys[key].store(0, std::memory_order_relaxed);
        return;
    }
    const bool newPress = liveKeys[key].load(std::memory_order_relaxed) == 0 || !repeat;
    latchedKeys[key].store(1, std::memory_order_relaxed);
    liveKeys[key].store(1, std::memory_order_relaxed);
    if (!newPress || typed[key].plain == 0) return;
    auto live = [this](unsigned char k) { return liveKeys[k].load(std::memory_order_relaxed) != 0; };
    const Press press{key, live(DIK_LSHIFT) || live(DIK_RSHIFT), CapsLockOn(),
                      live(DIK_LCONTROL) || live(DIK_RCONTROL)};
    std::lock_guard<std::recursive_mutex> hold(Critical);
    // Nobody takes them while no game frame runs: the oldest go first.
    if (presses.size() >= kMostPresses) presses.erase(presses.begin());
    presses.push_back(press);
}

void Keyboard_::Update() {
    // A key reads as down when it is down now or went down since the last read.
    for (int k = 0; k < NUM_KEYS; ++k) {
        std::uint8_t latched = latchedKeys[k].exchange(0, std::memory_order_relaxed);
        poll[k] = (liveKeys[k].load(std::memory_order_relaxed) | latched) ? 0x80 : 0;
    }
}

void Keyboard_::Reset() {
    pressCount.fill(0);
    lastPressed.fill(0);
    everPressed.fill(false);
    useCount = 0;
    lastUsed = 0;
    everUsed = false;
}

void Keyboard_::SendStateToStream() {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    // The newest poll stands for the keys' state; a press (up in one poll,
    // down in the next) is kept until the game thread takes it, so a tap
    // between two frames is still seen, while a release is seen at once.
    for (int k = 0; k < NUM_KEYS; ++k) {
        if (poll[k] && !lastPoll[k]) pressedSince[k] = 0x80;
        lastPoll[k] = poll[k];
        pending[k] = poll[k];
    }
}

void Keyboard_::GetStateFromStream(bool takeTyped) {
    std::vector<Press> typedSince;
    {
        std::lock_guard<std::recursive_mutex> hold(Critical);
        if (takeTyped) typedSince.swap(presses);
        // What follows the first Tab or Enter is the next frame's.
        const auto step = std::find_if(typedSince.begin(), typedSince.end(),
                                       [](const Press& p) { return p.key == DIK_TAB || p.key == DIK_RETURN; });
        if (step != typedSince.end() && step + 1 != typedSince.end()) {
            presses.insert(presses.begin(), step + 1, typedSince.end());
            typedSince.erase(step + 1, typedSince.end());
        }
        previous = current;
        for (int k = 0; k < NUM_KEYS; ++k) {
            if (pressedSince[k] && previous[k]) {
                // Let go and pressed again since the last frame: this frame
                // sees the key up, the next one the new press.
                current[k] = 0;
            } else {
                current[k] = pending[k] | pressedSince[k];
                pressedSince[k] = 0;
            }
        }
    }
    bool anyDown = false;
    for (int k = 0; k < NUM_KEYS; ++k) {
        bool down = current[k] != 0;
        pressCount[k] = down ? pressCount[k] + 1 : 0;
        lastPressed[k] = down ? 0 : lastPressed[k] + 1;
        everPressed[k] = everPressed[k] || down;
        anyDown = anyDown || down;
    }
    useCount = anyDown ? useCount + 1 : 0;
    lastUsed = anyDown ? 0 : lastUsed + 1;
    everUsed = everUsed || anyDown;

    // Typed characters: every press since the last frame, in the order the
    // keys went down, as its own modifiers made it; then the keys held long
    // enough to repeat by the held-key rule, in list order.
    framesKeys.clear();
    enterTyped = false;
    for (const Press& press : typedSince) {
        if (press.ctrl) continue;
        framesKeys += Translate(press.key, press.shift, press.caps);
        enterTyped = enterTyped || press.key == DIK_RETURN;
    }
    const bool ctrl = current[DIK_LCONTROL] || current[DIK_RCONTROL];
    auto repeats = [this](unsigned char key) {
        int n = pressCount[key];
        return n >= DELAY && (n - RATE) % RATE == 0;
    };
    if (!ctrl)
        for (unsigned char key : typingOrder)
            if (repeats(key)) framesKeys += Character(key);
    tabTyped = framesKeys.find('\t') != std::string::npos;
}

void Keyboard_::Free() {
    for (int k = 0; k < NUM_KEYS; ++k) {
        liveKeys[k].store(0, std::memory_order_relaxed);
        latchedKeys[k].store(0, std::memory_order_relaxed);
    }
    std::lock_guard<std::recursive_mutex> hold(Critical);
    presses.clear();
}

bool Keyboard_::Pressed(unsigned char key) const { return inputHooks.windowActive() && _Pressed(key); }

bool Keyboard_::Triggered(unsigned char key) const { return inputHooks.windowActive() && _Triggered(key); }

bool Keyboard_::Released(unsigned char key) const {
    if (!inputHooks.windowWasActive()) return false;
    // Losing the focus while a key is down counts as letting it go.
    if (!inputHooks.windowActive() && current[key]) return true;
    return _Released(key);
}

bool Keyboard_::Held(unsigned char key, int delay, int rate) const {
    if (!inputHooks.windowActive()) return false;
    int n = pressCount[key];
    if (n <= 0) return false;
    if (n == 1) return true;
    if (n < delay) return false;
    if (rate <= 0) return false;  // no repeat rather than a division by zero
    return (n - rate) % rate == 0;
}

bool Keyboard_::AnyPressed() const {
    if (!inputHooks.windowActive()) return false;
    for (int k = 0; k < NUM_KEYS; ++k)
        if (current[k]) return true;
    return false;
}

bool Keyboard_::AnyTriggered() const {
    if (!inputHooks.windowActive()) return false;
    for (int k = 0; k < NUM_KEYS; ++k)
        if (current[k] && !previous[k]) return true;
    return false;
}

bool Keyboard_::AnyReleased() const {
    if (!inputHooks.windowWasActive()) return false;
    const bool active = inputHooks.windowActive();
    for (int k = 0; k < NUM_KEYS; ++k) {
        if (!active && current[k]) return true;
        if (!current[k] && previous[k]) return true;
    }
    return false;
}

std::string Keyboard_::GetFramesKeys(const bool* filter) const {
    if (!filter) return framesKeys;
    std::string out;
    for (char c : framesKeys)
        if (filter[static_cast<unsigned char>(c)]) out += c;
    return out;
}
