#pragma once
#include <string>

#include "framework/Entity.h"

// The entity of one screen or game level, cloned by name from its registered
// prototype when a state loads it.
class Level : public Entity {
public:
    explicit Level(int byteSize);
    ~Level() override;

    static void _FirstInit();
    // Clones the registered level into the current state; null, with nothing
    // inserted, for a name that is not registered.
    static Level* _Load(const std::string& name);
    void _Copy(const Level* prototype);
    static void _Update(Level* level);
    static void _Unload(Level* level);
    static bool _IncludeLevel(const std::string& name, Level* prototype);
    static bool _ExcludeLevel(const std::string& name);
    static bool _IsRegistered(const std::string& name);

    static HashMap<Level*> _levels;
};
