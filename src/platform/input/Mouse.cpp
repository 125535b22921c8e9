#include "platform/input/Mouse.h"

#include "platform/input/InputHooks.h"

Mouse_ Mouse;

bool Mouse_::Init() {
    moveX.store(0);
    moveY.store(0);
    moveZ.store(0);
    for (int b = 0; b < NUM_BUTTONS; ++b) {
        liveButtons[b].store(0);
        latchedButtons[b].store(0);
        letGoButtons[b].store(0);
        pollLetGo[b] = pollPressed[b] = pollDown[b] = newestButtons[b] = polledDown[b] = takenButtons[b] = 0;
        queuedCount[b] = 0;
    }
    previous = current = pending = poll = MouseState{};
    taken = false;
    Reset();
    return true;
}

void Mouse_::DeviceMove(int dx, int dy) {
    moveX.fetch_add(dx, std::memory_order_relaxed);
    moveY.fetch_add(dy, std::memory_order_relaxed);
}

void Mouse_::DeviceWheel(int dz) { moveZ.fetch_add(dz, std::memory_order_relaxed); }

void Mouse_::DeviceButton(unsigned char button, bool down) {
    if (button >= NUM_BUTTONS) return;
    // The place the event came with, set just before.
    const std::int64_t at = Packed(cursorX.load(std::memory_order_relaxed), cursorY.load(std::memory_order_relaxed));
    (down ? pressAt : letGoAt)[button].store(at, std::memory_order_relaxed);
    // Each press and let-go is counted: a busy machine may keep the input
    // thread waiting for a whole double click.
    if (down) {
        latchedButtons[button].fetch_add(1, std::memory_order_relaxed);
        liveButtons[button].store(1, std::memory_order_relaxed);
    } else {
        liveButtons[button].store(0, std::memory_order_relaxed);
        letGoButtons[button].fetch_add(1, std::memory_order_relaxed);
    }
}

void Mouse_::DeviceCursor(int x, int y) {
    cursorX.store(x, std::memory_order_relaxed);
    cursorY.store(y, std::memory_order_relaxed);
}

void Mouse_::Update() {
    // Nothing in the program clips the cursor, so there is no clipping to
    // release while the mouse is unlocked.
    poll = MouseState{};
    poll.x = moveX.exchange(0, std::memory_order_relaxed);
    poll.y = moveY.exchange(0, std::memory_order_relaxed);
    poll.z = moveZ.exchange(0, std::memory_order_relaxed);
    for (int b = 0; b < NUM_BUTTONS; ++b) {
        // The let-go first: one that comes after it is the next poll's, and
        // the press after it is then seen down in this one at worst.
        pollLetGo[b] = letGoButtons[b].exchange(0, std::memory_order_relaxed);
        pollPressed[b] = latchedButtons[b].exchange(0, std::memory_order_relaxed);
        pollLetGoAt[b] = letGoAt[b].load(std::memory_order_relaxed);
        pollPressAt[b] = pressAt[b].load(std::memory_order_relaxed);
        pollDown[b] = liveButtons[b].load(std::memory_order_relaxed);
        poll.buttons[b] = (pollDown[b] | pollPressed[b]) ? 0x80 : 0;
    }
    polledX = cursorX.load(std::memory_order_relaxed);
    polledY = cursorY.load(std::memory_order_relaxed);
}

void Mouse_::Queue(int b, std::uint8_t down, std::int64_t at) {
    int& n = queuedCount[b];
    const std::uint8_t last = n > 0 ? queued[b][n - 1] : takenButtons[b];
    if (last == down) return;
    // A full queue drops its last state and this one's opposite with it: the
    // states still alternate and the last is still the newest.
    if (n == kQueued) {
        --n;
        return;
    }
    queuedAt[b][n] = at;
    queued[b][n++] = down;
}

void Mouse_::SendStateToStream() {
    // The first poll after a frame took the block starts its movement afresh.
    if (taken) {
        pending = MouseState{};
        taken = false;
    }
    pending.x += poll.x;
    pending.y += poll.y;
    pending.z += poll.z;
    for (int b = 0; b < NUM_BUTTONS; ++b) {
        // The changes since the last poll, in the only order they can have
        // come in: from down, let-gos each followed by a press while there
        // are presses, then a let-go again when it is up at the end; from up,
        // presses each followed by a let-go while there are let-gos, and a
        // press again when it is down at the end. A let-go and a new press
        // between two frames are so two presses, not one long hold, and a
        // double click within one poll two presses.
        const std::uint8_t down = 0x80;
        const std::int64_t pressed = pollPressAt[b], letGo = pollLetGoAt[b];
        int presses = pollPressed[b], letGos = pollLetGo[b];
        if (polledDown[b]) {
            for (; letGos > 0; --letGos) {
                Queue(b, 0, letGo);
                if (presses == 0) break;
                Queue(b, down, pressed);
                --presses;
            }
            if (!pollDown[b]) Queue(b, 0, letGo);
        } else if (presses > 0) {
            for (; presses > 0; --presses) {
                Queue(b, down, pressed);
                if (letGos == 0) break;
                Queue(b, 0, letGo);
                --letGos;
            }
            if (pollDown[b]) Queue(b, down, pressed);
        }
        polledDown[b] = pollDown[b];
        newestButtons[b] = poll.buttons[b];
    }
    pendingX = polledX;
    pendingY = polledY;
}

void Mouse_::SettleOnNewest() {
    // Until the next poll, a frame sees the buttons as the newest poll left
    // them, and no movement.
    pending.x = pending.y = pending.z = 0;
    for (int b = 0; b < NUM_BUTTONS; ++b) {
        queuedCount[b] = 0;
        Queue(b, newestButtons[b], Packed(pendingX, pendingY));
    }
    taken = true;
}

void Mouse_::GetStateFromStream() {
    previous = current;
    current = pending;
    std::int64_t changedAt = Packed(pendingX, pendingY);
    bool changed = false;
    for (int b = 0; b < NUM_BUTTONS; ++b) {
        if (queuedCount[b] > 0) {
            if (!changed && queued[b][0] != takenButtons[b]) {
                changed = true;
                changedAt = queuedAt[b][0];
            }
            takenButtons[b] = queued[b][0];
            for (int i = 1; i < queuedCount[b]; ++i) {
                queued[b][i - 1] = queued[b][i];
                queuedAt[b][i - 1] = queuedAt[b][i];
            }
            --queuedCount[b];
        }
        current.buttons[b] = takenButtons[b];
    }
    // Until the next poll, a frame sees no movement.
    pending.x = pending.y = pending.z = 0;
    taken = true;
    screenX = PackedX(changedAt);
    screenY = PackedY(changedAt);

    deltaX = static_cast<float>(current.x);
    deltaY = static_cast<float>(current.y);
    deltaZ = static_cast<float>(current.z);
    const bool moved = current.x || current.y || current.z;
    moveCount = moved ? moveCount + 1 : 0;
    lastMoved = moved ? 0 : lastMoved + 1;
    everMoved = everMoved || moved;

    // A left press within the double-click time (in 60-per-second frames) of
    // the last one; lastPressed still holds last frame's count here.
    const std::uint32_t limit =
        1u + static_cast<std::uint32_t>(static_cast<float>(inputHooks.doubleClickTime()) / 16.6666f);
    doubleClick = current.buttons[0] && lastPressed[0] >= 1 && static_cast<std::uint32_t>(lastPressed[0]) < limit;

    bool anyDown = false;
    for (int b = 0; b < NUM_BUTTONS; ++b) {
        bool down = current.buttons[b] != 0;
        pressCount[b] = down ? pressCount[b] + 1 : 0;
        lastPressed[b] = down ? 0 : lastPressed[b] + 1;
        everPressed[b] = everPressed[b] || down;
        anyDown = anyDown || down;
    }
    const bool used = moved || anyDown;
    useCount = used ? useCount + 1 : 0;
    lastUsed = used ? 0 : lastUsed + 1;
    everUsed = everUsed || used;
}

void Mouse_::Reset() {
    pressCount.fill(0);
    lastPressed.fill(0);
    everPressed.fill(false);
    useCount = 0;
    lastUsed = 0;
    everUsed = false;
    moveCount = 0;
    lastMoved = 0;
    everMoved = false;
    doubleClick = false;
    locked = false;
}

void Mouse_::Free() {
    for (int b = 0; b < NUM_BUTTONS; ++b) {
        liveButtons[b].store(0);
        latchedButtons[b].store(0);
        letGoButtons[b].store(0);
    }
}

void Mouse_::Lock(float left, float top, float right, float bottom) {
    locked = true;
    lockRect[0] = left;
    lockRect[1] = top;
    lockRect[2] = right;
    lockRect[3] = bottom;
}

float Mouse_::GetX() const {
    float x = 0.0f, y = 0.0f;
    inputHooks.screenToGame(screenX, screenY, &x, &y);
    return x;
}

float Mouse_::GetY() const {
    float x = 0.0f, y = 0.0f;
    inputHooks.screenToGame(screenX, screenY, &x, &y);
    return y;
}

bool Mouse_::Pressed(unsigned char button) const { return inputHooks.windowActive() && _Pressed(button); }

bool Mouse_::Triggered(unsigned char button) const { return inputHooks.windowActive() && _Triggered(button); }

bool Mouse_::Released(unsigned char button) const {
    if (button >= NUM_BUTTONS || !inputHooks.windowWasActive()) return false;
    if (!inputHooks.windowActive() && current.buttons[button]) return true;
    return _Released(button);
}

bool Mouse_::Held(unsigned char button, int delay, int rate) const {
    if (button >= NUM_BUTTONS || !inputHooks.windowActive()) return false;
    int n = pressCount[button];
    if (n <= 0) return false;
    if (n == 1) return true;
    if (n < delay) return false;
    if (rate <= 0) return false;
    return (n - rate) % rate == 0;
}

bool Mouse_::AnyPressed() const {
    if (!inputHooks.windowActive()) return false;
    for (int b = 0; b < NUM_BUTTONS; ++b)
        if (current.buttons[b]) return true;
    return false;
}

bool Mouse_::AnyTriggered() const {
    if (!inputHooks.windowActive()) return false;
    for (int b = 0; b < NUM_BUTTONS; ++b)
        if (current.buttons[b] && !previous.buttons[b]) return true;
    return false;
}

bool Mouse_::AnyReleased() const {
    if (!inputHooks.windowWasActive()) return false;
    const bool active = inputHooks.windowActive();
    for (int b = 0; b < NUM_BUTTONS; ++b) {
        if (!active && current.buttons[b]) return true;
        if (!current.buttons[b] && previous.buttons[b]) return true;
    }
    return false;
}
