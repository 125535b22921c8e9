#pragma once

class Entity;

// One event handler. An unbound event holds the empty handler, never null.
class Event {
public:
    using Handler = void (*)(Entity* self, Entity* other);

    // The empty handler: what every unbound event runs.
    static void DefaultFunction(Entity* self, Entity* other);

    Event() = default;
    Event(Handler function) : handler(function != nullptr ? function : &DefaultFunction) {}  // NOLINT
    Event& operator=(Handler function) {
        handler = function != nullptr ? function : &DefaultFunction;
        return *this;
    }
    Event(const Event&) = default;
    Event& operator=(const Event&) = default;

    // True when a handler other than the empty one is bound.
    explicit operator bool() const { return handler != &DefaultFunction; }
    bool operator==(Handler function) const { return handler == function; }
    bool operator==(const Event& other) const { return handler == other.handler; }
    void operator()(Entity* self, Entity* other) const { handler(self, other); }
    Handler Function() const { return handler; }

private:
    Handler handler = &DefaultFunction;
};
