#pragma once
#include <atomic>
#include <list>
#include <string>

#include "framework/Entity.h"
#include "framework/Vector.h"

struct SDL_Window;

class Engine;
class Level;
class Object;
class Buffer;
class TripleBuffer;
namespace GUI {
class GuiWindow;
}

// What a state needs from the window, renderer and input layers. Each is
// optional: a null hook is skipped, so the frame logic runs without a window.
struct StateHooks {
    void (*createWindow)(State* state) = nullptr;   // the state's window, 200 by 200 at 0,0
    void (*destroyWindow)(State* state) = nullptr;  // releases draw lists and the window
    // Steps 3 and 4 of a frame: window activity and update, take and clear the
    // oldest free buffer (into takenBuffer), load the camera kept in it.
    void (*beginFrame)(State* state) = nullptr;
    // Step 8: store the camera into takenBuffer and give it back as ready.
    void (*endFrame)(State* state) = nullptr;
    // Gives takenBuffer back after a frame that did not end (an exception).
    void (*abandonFrame)(State* state) = nullptr;
    void (*resetInput)() = nullptr;                     // no key of the previous level counts as pressed
    int (*renderHeight)(const State* state) = nullptr;  // pixels; the window's, or its full-screen height
    bool (*anyWindowActive)() = nullptr;
};

// One running screen with its own window, level, engines and objects.
class State {
public:
    State(const std::string& name, bool visible);
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    void Init();
    void Free();
    void Update();

    static void SetLevel(State* state, const std::string& name);
    void Quit() { deleted = true; }
    bool Deleted() const { return deleted; }

    static void AddObject(Object* object);
    static void RemoveObject(Object* object);
    static std::list<Engine*>::iterator AddToList(Engine* engine);
    static void RemoveFromList(std::list<Engine*>::iterator place);
    static void RemoveFromList(Engine* engine);
    static std::list<Engine*>& GetList();
    static std::list<Engine*>& GetEngineList() { return GetList(); }
    static void PriorityChanged();
    static void HandlePriorityChange();
    static void InitAllEngines();
    static void UpdateAllEngines();
    static void ClearAllEngines();
    void ClearEngines();
    void ClearObjects();

    static void RemoveDeletedObjects();
    static void RemoveDeletedEngines();
    static void RemoveDeleted();

    static State* GetState(const std::string& name);
    static State* GetStateByName(const std::string& name) { return GetState(name); }
    static EntityMap& _GetEntities(State* state);
    static SubscriberMap& _GetEntityList(State* state);

    // One game frame over the game entity and every state: the game's update,
    // each state's update in list order, then the deferred function. An
    // exception that escapes gives the states "Restart"; returns false then.
    static bool UpdateAll();
    // The end-of-frame removals, in order.
    static void EndOfFrame();
    // After an escaped exception: no current state, no taken buffer, and every
    // state not asked to quit restarts its level.
    static void RecoverFromFailedFrame();

    static bool WasActive();
    static int GetRenderHeight();

    // The current state's window (defined with the window layer). With no
    // current state, or no window, setters do nothing and getters answer 0,
    // false or empty.
    static void SetSize(int width, int height);
    static void SetWidth(int width);
    static void SetHeight(int height);
    static void SetPos(int x, int y);
    static void SetX(int x);
    static void SetY(int y);
    static void SetResolution(float resolution);
    static float GetResolution();
    static D3DXVECTOR2 GetSize();
    static int GetWidth();
    static int GetHeight();
    static D3DXVECTOR2 GetPos();
    static int GetX();
    static int GetY();
    static int GetRenderWidth();
    static SDL_Window* GetHwnd();
    static GUI::GuiWindow* GetWindow();
    static void SetRounded(bool rounded);
    static bool IsRounded();
    static void SetTitle(const std::string& title);
    static std::string GetTitle();
    static void ToggleStretchPixels();
    static bool IsStretchPixels();
    static bool IsFullscreen();
    // Flips the current window's full-screen flag (under the window
    // registry's lock); the window layer switches when it next handles full
    // screen. Nothing without a current state or window.
    static void ToggleFullscreen();
    static void SetActive(bool active);
    static void Activate();
    static void DeActivate();
    static void UpdateActivity();
    static void UpdateAnyActivity();
    static bool Active();
    void ShowWindow() { visible = true; }
    void HideWindow() { visible = false; }

    const std::string& GetStateName() const { return stateName; }
    const std::string& GetLevelName() const { return currentLevelName; }
    const std::string& GetNextLevelName() const { return nextLevelName; }
    Level* GetLevel() const { return level; }
    const std::list<Engine*>& Engines() const { return engines; }
    const std::list<Object*>& Objects() const { return objects; }

    // Window and draw-list seams, filled by the window and renderer layers.
    GUI::GuiWindow* window = nullptr;
    TripleBuffer* renderData = nullptr;
    Buffer* takenBuffer = nullptr;

    std::string previousLevelName;
    std::string currentLevelName;
    std::string nextLevelName;
    bool restarting = false;
    std::string stateName;
    Level* level = nullptr;
    bool priorityChanged = false;
    std::list<Engine*> engines;
    std::list<Object*> objects;
    bool deleted = false;
    EntityMap entities;
    SubscriberMap subscribers;
    bool windowActive = false;
    // Written by the game thread, read by the render thread when it draws the window.
    std::atomic<bool> visible{false};

    static State* _currentState;
    static std::list<State*> _list;
    static bool wasAnyActive;
    static StateHooks hooks;
    // The hooks the program starts with (input reset from the input layer,
    // which sets it before main).
    static StateHooks DefaultHooks();
    static void SetDefaultInputReset(void (*resetInput)());

private:
    Level* restartFrom = nullptr;  // the level being replaced while "Restart" reloads
    // Performs a requested level switch; false when the state is to quit.
    bool SwitchLevel(bool beforeEngines);
};

// Called once per frame with a null argument, then reset to the empty handler.
extern void (*DeferredGameFunction)(void*);
void EmptyDeferredFunction(void*);
