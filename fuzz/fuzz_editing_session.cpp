// SPDX-License-Identifier: GPL-3.0-or-later
// A whole editing session driven by the fuzzer's bytes: presses, moves with
// every key-state word, and every board command, on the real board logic. After
// each step the invariants must hold.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board_editor.h"
#include "riddle_file.h"

using namespace vorlo;

namespace {

[[noreturn]] void Fail() {
    std::abort();
}

struct Host : BoardHost {
    int modified = 0;
    int hints = 0;
    void setModified() override { ++modified; }
    void UpdateAllViews(int32_t hint) override {
        if (hint != HintBoardChanged) {
            Fail();
        }
        ++hints;
    }
};

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    int32_t Int() {
        // Mostly small board positions, sometimes anything at all.
        const uint8_t kind = Byte();
        if (kind < 200) {
            return static_cast<int32_t>(Byte()) * 2 - 50 + (kind % 4) * 100;
        }
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v = (v << 8) | Byte();
        }
        return static_cast<int32_t>(v);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

void CheckInvariants(const RiddleState& doc, const BoardEditor& editor) {
    if (doc.SelectedMatch && !doc.MatchList.Contains(doc.SelectedMatch)) {
        Fail();
    }
    if ((doc.LastAction == ActionMove || doc.LastAction == ActionRotate) && editor.UndoMatch() &&
        !doc.MatchList.Contains(editor.UndoMatch())) {
        Fail();
    }
    if (editor.OnUpdateIndicatorMatchCount() !=
        std::to_string(doc.MatchList.Count()) + " matches") {
        Fail();
    }
    if (editor.OnUpdateNeedSelection() != static_cast<bool>(doc.SelectedMatch)) {
        Fail();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RiddleState doc;
    Host host;
    BoardEditor editor(doc, host);
    std::string clipboard;
    Input in(data, size);

    for (int step = 0; step < 400 && !in.Empty(); ++step) {
        const uint8_t op = in.Byte() % 14;
        switch (op) {
            case 0:
                editor.OnLButtonDown(in.Byte() & 0x1F, in.Int(), in.Int());
                break;
            case 1:
                editor.OnRButtonDown(in.Byte() & 0x1F, in.Int(), in.Int());
                break;
            case 2:
            case 3:
                editor.OnMouseMove(in.Byte() & 0x1F, in.Int(), in.Int());
                break;
            case 4:
                editor.OnAddMatch(in.Int());
                break;
            case 5:
                editor.OnDeleteMatch();
                break;
            case 6:
                if (const auto block = editor.OnEditCopy()) {
                    clipboard.assign(block->begin(), block->end());
                }
                break;
            case 7:
                if (const auto block = editor.OnEditCut()) {
                    clipboard.assign(block->begin(), block->end());
                }
                break;
            case 8: {
                const auto* bytes = reinterpret_cast<const uint8_t*>(clipboard.data());
                if (const auto block = editor.OnEditPaste({bytes, clipboard.size()})) {
                    std::memcpy(clipboard.data(), block->data(), block->size());
                }
                break;
            }
            case 9: {  // another program puts arbitrary bytes on the clipboard
                clipboard.clear();
                const uint8_t length = in.Byte() % 20;
                for (int i = 0; i < length; ++i) {
                    clipboard += static_cast<char>(in.Byte());
                }
                break;
            }
            case 10:
            case 11:
                editor.OnEditUndo();
                break;
            case 12:
                editor.OnRotate90();
                break;
            case 13:  // New: the document empties itself
                doc.DeleteContents();
                doc.LastAction = ActionNone;
                editor.OnDocumentReset();
                break;
        }
        CheckInvariants(doc, editor);
    }

    // What the session made saves and loads back the same.
    const std::optional<std::string> saved = SerializeSavableRiddle(doc.MatchList, "");
    if (!saved) {
        Fail();
    }
    const RiddleReadResult back = ParseRiddle(*saved);
    if (!back.ok || !(back.riddle.matches == doc.MatchList)) {
        Fail();
    }
    return 0;
}
