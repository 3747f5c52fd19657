#pragma once
// How one undo record is reversed (undo) or applied again (redo) on the editor,
// and the inverse record that goes onto the other list.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorUndo.h"
#include "editor/EditorUndoTarget.h"

// Reverses a record taken from the undo list and pushes its inverse, in group
// `group`, onto the redo list.
void ReverseUndoItem(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& redo,
                     std::uint32_t group);

// Applies a record taken from the redo list again and pushes its inverse, in
// group `group`, onto the undo list.
void ReapplyRedoItem(const TEditorUndoItem& item, IUndoTarget& target, TEditorUndoList& undo,
                     std::uint32_t group);

// Where a record's text is put back or removed from: the earlier position, or
// for a column block its top line at the block's left edge.
TBufferCoord UndoInsertionPoint(const TEditorUndoItem& item, const IUndoTarget& target);

// The lines of a text that CR LF, lone CR or lone LF separate ("" gives one
// empty line).
std::vector<std::string_view> SplitUndoLines(std::string_view text);
