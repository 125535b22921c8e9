#pragma once
#include <list>
#include <string>
#include <unordered_map>

#include "framework/Entity.h"

// An entity that raises its own name as an event on each member once per
// frame; a state runs its engines from the highest priority to the lowest.
class Engine : public Entity {
public:
    explicit Engine(int byteSize);
    ~Engine() override;

    void _Delete() override;
    void _RemoveAllObjects() override;
    void AddAnObject(Entity* entity, Event handler) override;
    void AddAnObject(const char* name, Event handler) override;
    void RemoveAnObject(Entity* entity) override;
    void RemoveAnObject(const char* name) override;
    void _AddObject(Entity* entity) override;
    void _RemoveObject(Entity* entity) override;

    // Makes a copy of the registered engine into the current state (the game
    // entity when none is current); null, with nothing changed, for a name
    // that is not registered.
    static Engine* _MakeCopy(const std::string& name, double priority);
    void _Copy(const Engine* prototype, const std::string& name, double priority);

    static void Load(Entity* self, Entity* other);
    static void Update(Entity* self, Entity* other);
    // One pass of the engine's event over the members that keep accepts
    // (every member when keep is null), in member order.
    static void UpdateMembers(Engine* engine, bool (*keep)(Entity* member));
    static void Unload(Entity* self, Entity* other);

    double GetPriority() const { return _priority; }
    void SetPriority(double priority);
    void _UpdatePriority() { _setupPriority = _priority; }
    std::list<Engine*>::iterator _GetIter() const { return _iter; }
    bool _Deleted() const { return _deleted; }
    bool IsMember(const Entity* entity) const;
    std::size_t MemberCount() const { return _index.size(); }

    static void _FirstInit();
    static bool _IncludeEngine(const std::string& name, Engine* prototype);
    static bool _ExcludeEngine(const std::string& name);
    static void _RemoveDeleted();

    static HashMap<Engine*> _engines;
    static int _totalEngines;

private:
    void Compact();

    std::list<Entity*> _members;
    std::unordered_map<const Entity*, std::list<Entity*>::iterator> _index;
    double _setupPriority = 0.0;
    double _priority = 0.0;
    std::list<Engine*>::iterator _iter{};
    bool _deleted = false;
    int _walking = 0;
    bool _blanked = false;
};
