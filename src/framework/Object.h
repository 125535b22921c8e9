#pragma once
#include <list>
#include <string>
#include <vector>

#include "framework/Entity.h"

class ExObject;

// The entity of every game and interface object. Objects are clones of a
// prototype registered under its type name, made by name into a state.
class Object : public Entity {
public:
    explicit Object(int byteSize);
    ~Object() override;

    Object* Copy(const char* name) override;
    void _Delete() override;
    void _RemoveFromEngines() override;
    void RemoveFromEngine(Entity* engine) override;
    void RemoveFromEngine(const char* engineName) override;
    void _AddEngine(Entity* engine, Event handler) override;
    void _RemoveEngine(const char* engineName) override;

    // Engine membership; false when there is no such engine in the object's state.
    bool AddToEngine(const char* engineName, const Event& handler);
    bool AddToEngine(Entity* engine, const Event& handler);
    void _TempAddEngine(const char* engineName, const Event& handler);
    const HashMap<Entity*>& GetEngines() const { return _myEngines; }

    // Groups.
    void AddGroup(const char* name);
    void RemoveGroup(const char* name);
    void _ClearGroups();
    void SetGroup(const char* name);
    void SetGroups(const std::vector<std::string>& names);
    static std::vector<Object*>& FindByGroup(const char* name);
    const std::vector<std::string>& GetGroups() const { return _groupNames; }

    // Cloning by type or extended-object name; null when the name resolves to
    // no registered type.
    static Object* MakeCopy(State* state, const std::string& typeName, const char* newName);
    static Object* _MakeCopy(State* state, Object* source, const char* newName);
    void _Copy(const Object* source, const char* newName);

    int _GetID() const { return _id; }
    static int _GetNextID() { return _nextID++; }
    static void _ResetID() { _nextID = 0; }
    bool _Deleted() const { return _deleted; }
    Object* _Next() const { return _next; }
    Object* _Prev() const { return _prev; }

    // Registries.
    static void _FirstInit();
    static bool _IncludeObject(const std::string& name, Object* prototype);
    static bool _ExcludeObject(const std::string& name);
    static bool _IncludeExObject(const std::string& name, ExObject* exObject);
    static bool _ExcludeExObject(const std::string& name);
    static Object* _FindPrototype(const std::string& name);
    static void _RemoveDeleted();
    static void _DeleteAll();

    static HashMap<Object*> _objects;
    static HashMap<ExObject*> _exobjects;
    static HashMap<std::vector<Object*>> _groups;
    static Object* _start;
    static int _nextID;
    static int _totalObjects;

private:
    void _CopyEngines(const Object& source);

    Object* _next = nullptr;
    Object* _prev = nullptr;
    int _id = 0;
    std::vector<std::string> _groupNames;
    HashMap<Entity*> _myEngines;
    bool _deleted = false;

    // The object's place in its state's object list, for removal without a search.
    friend class State;
    std::list<Object*>::iterator _statePlace{};
    bool _listed = false;
};
