#pragma once
#include <cstdint>
#include <list>
#include <string>

#include "framework/Event.h"
#include "framework/HashCompare.h"
#include "framework/Vector.h"

class State;
class Object;
class Level;
class Game;

// The subscribers of one event name in a state, newest first. While a
// broadcast walks the list, leaving subscribers are blanked (null) rather
// than unlinked, and the list is compacted once the last walk over it ends,
// so a handler may remove or delete any subscriber, itself included.
struct SubscriberList {
    std::list<Entity*> entries;
    int walking = 0;
    bool blanked = false;

    void Remove(std::list<Entity*>::iterator position);
    void Compact();
};

using EntityMap = HashMap<Entity*>;
using SubscriberMap = HashMap<SubscriberList>;

// Base of every named thing: objects, engines, levels and the game entity.
class Entity {
public:
    explicit Entity(int byteSize);
    virtual ~Entity();

    // Slots overridden by the kinds; the base versions do nothing.
    virtual Object* Copy(const char* name);
    virtual void _Delete();
    virtual void _RemoveAllObjects();
    virtual void AddAnObject(Entity* entity, Event handler);
    virtual void AddAnObject(const char* name, Event handler);
    virtual void RemoveAnObject(Entity* entity);
    virtual void RemoveAnObject(const char* name);
    virtual void _RemoveFromEngines();
    virtual void AddToEngine(Entity* engine, Event handler);
    virtual void AddToEngine(const char* engineName, Event handler);
    virtual void RemoveFromEngine(Entity* engine);
    virtual void RemoveFromEngine(const char* engineName);
    virtual void _AddObject(Entity* entity);
    virtual void _RemoveObject(Entity* entity);
    virtual void _AddEngine(Entity* engine, Event handler);
    virtual void _RemoveEngine(const char* engineName);

    // Naming and look-up.
    void _SetName(const char* name) { _name = name; }
    void SetName(const char* name);
    const char* _GetName() const { return _name.c_str(); }
    const std::string& GetName() const { return _name; }
    const std::string& GetType() const { return _type; }
    static Entity* FindByName(const char* name);
    Entity* GetMyEngine(const char* name) const;
    Entity* GetMyObject(const char* name) const;
    Level* GetMyLevel() const;
    Object* MakeCopy(const std::string& type, const char* name);

    int _GetSize() const { return _size; }
    void _SetSize(int size) { _size = size; }
    Entity* GetParentStencil() const { return _parentStencil; }
    Entity* GetRootStencil() const { return _rootStencil; }
    bool IsPrototype() const { return _prototype; }

    // Events.
    void AddEvent(const std::string& name, Event handler);
    void _AddEvent(const std::string& name, Event handler);
    void SetEvent(const std::string& name, Event handler);
    void _SetEvent(const std::string& name, Event handler);
    Event& GetEvent(const std::string& name);
    void RemoveEvent(const std::string& name);
    void _ClearEvents();
    void DoEvent(const std::string& name);
    void DoEvent(const std::string& name, Entity* target);
    void DoEvent(const std::string& name, const std::string& targetName);
    static void _DoEvent(const std::string& name, Entity* other, Entity* self);
    void CallEvent(const std::string& name);
    static void _CallEvent(const std::string& name);
    // Whether the entity holds a recorded subscription under name.
    bool IsSubscribed(const std::string& name) const { return _subscriptions.count(name) != 0; }

    // Positions and sizes, through the variables "position", "size" and "size3D".
    void SetPosition(int x, int y);
    void SetPosition(float x, float y);
    void SetPosition(const D3DXVECTOR2& position);
    void SetPosition(float x, float y, float z);
    void SetPosition(const D3DXVECTOR3& position);
    void SetSize(int width, int height);
    void SetSize(float width, float height);
    void SetSize(const D3DXVECTOR2& size);
    void SetSize(float width, float height, float depth);
    void SetSize(const D3DXVECTOR3& size);
    void _MakePosTopLeft();

    // The directional pick of menu navigation.
    Entity* GetInLineEntity(std::list<Entity*>& candidates, const D3DXVECTOR3& from, const D3DXVECTOR2& extent,
                            const D3DXVECTOR2& dir);

    void _SetVariable(const std::string& name, void* value);

    // Raises the entity's own "Unload" with itself as both arguments; the
    // teardown function of types that own nothing else.
    static void _CallUnload(Entity* self);

    // Destroys an entity however it was made: a prototype is an object of
    // its concrete type, a clone a kind's object in a block of _size bytes.
    static void _Destroy(Entity* entity);

    // Starts the framework: level, engine and object registries, the game
    // entity, then the game's "Load".
    static void _FirstInit();

    // Type replacement from built scripts: each builds source into a plug-in
    // (framework/TypeReplacement.h), registers the type its set-up export
    // makes under newName and retires the one under oldName; an empty
    // newName only removes the old type. False, with nothing changed, when
    // a name is not a type name or the build, the load or "_Init" fails.
    static bool _ReplaceObject(const char* source, const char* newName, const char* oldName);
    static bool _ReplaceEngine(const char* source, const char* newName, const char* oldName);
    static bool _ReplaceLevel(const char* source, const char* newName, const char* oldName);
    static bool _ReplaceExObject(const char* source, const char* newName, const char* oldName);
    static bool _ReplaceGame(const char* source, const char* newName, const char* oldName);

    // The two words through which script variables are reached.
    std::int32_t* _map = nullptr;  // the type's VariableOffsetTable
    char* _startVar = nullptr;
    void (*_copy)(Entity* copy, const Entity* source) = nullptr;
    void (*_free)(Entity* self) = nullptr;
    State* _state = nullptr;
    std::string _type;
    std::string _name;
    bool _unnamed = false;
    bool _prototype = true;
    // Ends a clone's variable block when the clone is destroyed (set by the
    // type's copy function through ConstructVariables).
    void (*_endVariables)(Entity* self) = nullptr;

protected:
    // The cloning step: data, events and subscriptions, variables, then the
    // type's copy function.
    void _CopyData(const Entity& source);

    HashMap<Event> _events;
    HashMap<std::list<Entity*>::iterator> _subscriptions;
    int _size;
    Entity* _parentStencil;
    Entity* _rootStencil;

private:
    Entity(const Entity&) = delete;
    // Copies nothing, so a self-assignment is as harmless as any other.
    Entity& operator=(const Entity&) { return *this; }  // NOLINT(bugprone-unhandled-self-assignment)
    void Subscribe(const std::string& name);
    void Unsubscribe(const std::string& name);
    static void Broadcast(SubscriberMap& map, const std::string& name, Entity* other);
};

// Shortcuts.
Level* GetMyLevel();
Game*& GetMyGame();
Entity* GetMyEngine(const char* name);
Entity* GetMyObject(const char* name);
Object* MakeCopy(const std::string& type, const char* name);
