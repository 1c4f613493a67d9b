#pragma once
// Mouse routing of a skinned frame to its windowless controls. The frame registers its
// control groups, the order in which presses and moves visit them, its drag strip and
// its busy test; the router decides which control gets the event and asks the frame,
// through hooks, to post notifications, repaint, set the cursor or start a window drag.
#include "GUIGDIPlusMfcCtrl.h"

#include <cstdint>
#include <functional>
#include <vector>

class MouseRouter {
public:
    // How a group takes part in the routing.
    enum class Role {
        Toggle, // check box, switch, radio: the press notifies
        Button, // push button: the press only arms it, the release (HitUp) notifies
        Edit,   // edit boxes: every box is offered each press and focuses by its answer;
                // the search goes on after them; hover repaints
        Slider, // press notifies, every move while dragging notifies, release notifies;
                // hover repaints
    };

    // Cursor types as the frame's SetFrameCursor knows them.
    static constexpr int kCursorArrow = 0;
    static constexpr int kCursorHand = 3;

    struct Hooks {
        // Post (queued, never direct) msg with wParam = index in group, lParam = 0.
        std::function<void(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)> post;
        std::function<void()> repaint;
        std::function<void(int type)> setCursor;
        // A press in the drag strip: let the window be moved from (x, y).
        std::function<void(int x, int y)> beginDrag;
        // True while the frame ignores the mouse (e.g. a shade is shown).
        std::function<bool()> isBusy;
        // True for points of the drag strip. Empty: no drag strip.
        std::function<bool(int x, int y)> inDragStrip;
        // Optional: a control accepted a press / completed on release, before any post.
        std::function<void(int group, int index)> onPressed;
        std::function<void(int group, int index)> onReleased;
    };

    void SetHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    Hooks& GetHooks() { return m_hooks; }

    // Registers a group; controls are visited in the given (index) order. Returns the
    // group's id, to be used in the orders below.
    int AddGroup(Role role, std::vector<IGUIGDIPlusMfcCtrl*> ctrls);
    // Order of the groups for presses and releases (releases visit the Button and
    // Slider groups of this order). Default: registration order.
    void SetPressOrder(std::vector<int> groups);
    // Order of the groups for moves. Default: the press order.
    void SetMoveOrder(std::vector<int> groups);
    void Clear();

    void OnLButtonDown(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnMouseMove(int x, int y);

private:
    struct Group {
        Role role;
        std::vector<IGUIGDIPlusMfcCtrl*> ctrls;
    };
    bool Busy() const { return m_hooks.isBusy && m_hooks.isBusy(); }
    void Notify(IGUIGDIPlusMfcCtrl& ctrl, int index);
    void Repaint();
    void Cursor(int type);
    const std::vector<int>& PressOrder() const;
    const std::vector<int>& MoveOrder() const;

    Hooks m_hooks;
    std::vector<Group> m_groups;
    std::vector<int> m_registration;
    std::vector<int> m_pressOrder;
    std::vector<int> m_moveOrder;
};
