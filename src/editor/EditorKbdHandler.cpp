#include "editor/EditorKbdHandler.h"

namespace {

// Clears the running flag however the chain ends.
class RunningGuard {
 public:
  explicit RunningGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningGuard() { flag_ = false; }
  RunningGuard(const RunningGuard&) = delete;
  RunningGuard& operator=(const RunningGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

// The handler list is copied before the walk: a handler may remove itself.
void TEditorKbdHandler::ExecuteKeyDown(TCustomEditor& sender, std::uint16_t& key,
                                       TShiftState shift) {
  if (key_down_.running) return;
  RunningGuard guard(key_down_.running);
  auto handlers = key_down_.handlers;
  for (auto i = handlers.size(); i-- > 0;) {
    handlers[i].code(handlers[i].object, sender, key, shift);
    if (key == 0) return;
  }
}

void TEditorKbdHandler::ExecuteKeyUp(TCustomEditor& sender, std::uint16_t& key, TShiftState shift) {
  if (key_up_.running) return;
  RunningGuard guard(key_up_.running);
  auto handlers = key_up_.handlers;
  for (auto i = handlers.size(); i-- > 0;) {
    handlers[i].code(handlers[i].object, sender, key, shift);
    if (key == 0) return;
  }
}

void TEditorKbdHandler::ExecuteKeyPress(TCustomEditor& sender, char& key) {
  if (key_press_.running) return;
  RunningGuard guard(key_press_.running);
  auto handlers = key_press_.handlers;
  for (auto i = handlers.size(); i-- > 0;) {
    handlers[i].code(handlers[i].object, sender, key);
    if (key == 0) return;
  }
}

void TEditorKbdHandler::ExecuteMouseDown(TCustomEditor& sender, TMouseButton button,
                                         TShiftState shift, int x, int y) {
  if (mouse_down_.running) return;
  RunningGuard guard(mouse_down_.running);
  auto handlers = mouse_down_.handlers;
  for (auto i = handlers.size(); i-- > 0;)
    handlers[i].code(handlers[i].object, sender, button, shift, x, y);
}

void TEditorKbdHandler::ExecuteMouseUp(TCustomEditor& sender, TMouseButton button,
                                       TShiftState shift, int x, int y) {
  if (mouse_up_.running) return;
  RunningGuard guard(mouse_up_.running);
  auto handlers = mouse_up_.handlers;
  for (auto i = handlers.size(); i-- > 0;)
    handlers[i].code(handlers[i].object, sender, button, shift, x, y);
}

void TEditorKbdHandler::ExecuteMouseWheel(TCustomEditor& sender, int& delta, TShiftState shift) {
  if (mouse_wheel_.running) return;
  RunningGuard guard(mouse_wheel_.running);
  auto handlers = mouse_wheel_.handlers;
  for (auto i = handlers.size(); i-- > 0;) {
    handlers[i].code(handlers[i].object, sender, delta, shift);
    if (delta == 0) return;
  }
}

void TEditorKbdHandler::ExecuteMouseCursor(TCustomEditor& sender, const TBufferCoord& position,
                                           int& cursor) {
  if (mouse_cursor_.running) return;
  RunningGuard guard(mouse_cursor_.running);
  auto handlers = mouse_cursor_.handlers;
  for (auto i = handlers.size(); i-- > 0;)
    handlers[i].code(handlers[i].object, sender, position, cursor);
}
