#pragma once
// The editor's chains of keyboard and mouse handlers that other components
// (the completion proposal) hook into. A handler is a plain function and the
// object it is called with; the same pair is the same handler.
#include <cstdint>
#include <vector>

#include "editor/EditorTypes.h"
#include "platform/Types.h"

class TCustomEditor;

struct TKeyHandler {
  void (*code)(void* object, TCustomEditor& sender, std::uint16_t& key,
               TShiftState shift) = nullptr;
  void* object = nullptr;
  friend bool operator==(const TKeyHandler&, const TKeyHandler&) = default;
};
struct TKeyPressHandler {
  void (*code)(void* object, TCustomEditor& sender, char& key) = nullptr;
  void* object = nullptr;
  friend bool operator==(const TKeyPressHandler&, const TKeyPressHandler&) = default;
};
struct TMouseHandler {
  void (*code)(void* object, TCustomEditor& sender, TMouseButton button, TShiftState shift, int x,
               int y) = nullptr;
  void* object = nullptr;
  friend bool operator==(const TMouseHandler&, const TMouseHandler&) = default;
};
// Sees a turn of the mouse wheel first; setting delta to 0 takes it.
struct TMouseWheelHandler {
  void (*code)(void* object, TCustomEditor& sender, int& delta, TShiftState shift) = nullptr;
  void* object = nullptr;
  friend bool operator==(const TMouseWheelHandler&, const TMouseWheelHandler&) = default;
};
// Lets a component choose the mouse cursor for a text position.
struct TMouseCursorHandler {
  void (*code)(void* object, TCustomEditor& sender, const TBufferCoord& position,
               int& cursor) = nullptr;
  void* object = nullptr;
  friend bool operator==(const TMouseCursorHandler&, const TMouseCursorHandler&) = default;
};

class TEditorKbdHandler {
 public:
  void AddKeyDownHandler(TKeyHandler h) { Add(key_down_, h); }
  void RemoveKeyDownHandler(TKeyHandler h) { Remove(key_down_, h); }
  void AddKeyUpHandler(TKeyHandler h) { Add(key_up_, h); }
  void RemoveKeyUpHandler(TKeyHandler h) { Remove(key_up_, h); }
  void AddKeyPressHandler(TKeyPressHandler h) { Add(key_press_, h); }
  void RemoveKeyPressHandler(TKeyPressHandler h) { Remove(key_press_, h); }
  void AddMouseDownHandler(TMouseHandler h) { Add(mouse_down_, h); }
  void RemoveMouseDownHandler(TMouseHandler h) { Remove(mouse_down_, h); }
  void AddMouseUpHandler(TMouseHandler h) { Add(mouse_up_, h); }
  void RemoveMouseUpHandler(TMouseHandler h) { Remove(mouse_up_, h); }
  void AddMouseWheelHandler(TMouseWheelHandler h) { Add(mouse_wheel_, h); }
  void RemoveMouseWheelHandler(TMouseWheelHandler h) { Remove(mouse_wheel_, h); }
  void AddMouseCursorHandler(TMouseCursorHandler h) { Add(mouse_cursor_, h); }
  void RemoveMouseCursorHandler(TMouseCursorHandler h) { Remove(mouse_cursor_, h); }

  // Newest handler first; the key chains stop once a handler sets the key to
  // 0. A chain that is already running (a handler caused the same kind of
  // event again) is not entered a second time.
  void ExecuteKeyDown(TCustomEditor& sender, std::uint16_t& key, TShiftState shift);
  void ExecuteKeyUp(TCustomEditor& sender, std::uint16_t& key, TShiftState shift);
  void ExecuteKeyPress(TCustomEditor& sender, char& key);
  void ExecuteMouseDown(TCustomEditor& sender, TMouseButton button, TShiftState shift, int x,
                        int y);
  void ExecuteMouseUp(TCustomEditor& sender, TMouseButton button, TShiftState shift, int x, int y);
  void ExecuteMouseWheel(TCustomEditor& sender, int& delta, TShiftState shift);
  void ExecuteMouseCursor(TCustomEditor& sender, const TBufferCoord& position, int& cursor);

 private:
  template <typename H>
  struct Chain {
    std::vector<H> handlers;
    bool running = false;
  };
  template <typename H>
  static void Add(Chain<H>& chain, H h) {
    if (h.code) chain.handlers.push_back(h);
  }
  template <typename H>
  static void Remove(Chain<H>& chain, H h) {
    for (auto i = chain.handlers.size(); i-- > 0;) {
      if (chain.handlers[i] == h) {
        chain.handlers.erase(chain.handlers.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
    }
  }

  Chain<TKeyHandler> key_down_;
  Chain<TKeyHandler> key_up_;
  Chain<TKeyPressHandler> key_press_;
  Chain<TMouseHandler> mouse_down_;
  Chain<TMouseHandler> mouse_up_;
  Chain<TMouseWheelHandler> mouse_wheel_;
  Chain<TMouseCursorHandler> mouse_cursor_;
};
