#pragma once
// A main window on a temporary program directory with scripted prompts, the
// real registry (settings key cleared before and after; file associations in
// a scratch key) and, when a test sets them, scripted search dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "RedirectedClassesRegistry.h"
#include "editor/EditorMemo.h"
#include "support/ScriptedPrompts.h"
#include "win32/MainWindow.h"
#include "win32/WineTestSupport.h"

class MainWindowFixture : public ::testing::Test {
 protected:
  TTempDir program_dir;
  TScriptedPrompts prompts;
  TRedirectedClassesRegistry registry;
  ISearchDialogs* search_dialogs = nullptr;
  std::unique_ptr<TForm1> form;

  void SetUp() override {
    ClearSettingsKey();
    CopyDataFile("KeyFile.ini", program_dir.Path());
  }
  void TearDown() override {
    Close();
    ClearSettingsKey();
  }
  // Creates and shows the window, focused on its editor.
  void Start() {
    TMainWindowServices services;
    services.prompts = &prompts;
    services.registry = &registry;
    services.program_dir = program_dir.Path();
    services.quit_on_close = false;
    services.search_dialogs = search_dialogs;
    form = std::make_unique<TForm1>(services);
    form->Create();
    form->FinishStartup({});
    ShowWindow(form->Handle(), SW_SHOW);
    SetForegroundWindow(form->Handle());
    SetFocus(form->EditorHandle());
    PumpMessages();
  }
  void Close() {
    form.reset();
    PumpMessages();
  }
  TEditorMemo& Memo() { return form->Memo1(); }
  // Presses a key in the editor with Shift and Ctrl held or not, as the
  // message loop hands it over.
  bool PressShortCut(WPARAM key, bool shift, bool ctrl = false) {
    BYTE keys[256] = {};
    if (shift) keys[VK_SHIFT] = 0x80;
    if (ctrl) keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG msg{};
    msg.hwnd = form->EditorHandle();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    const bool used = form->HandleShortCut(msg);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    return used;
  }
};
