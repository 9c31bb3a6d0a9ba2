// The editor view on its own document with recording sprite sheets and no text: the set-up the
// view's tests share.
#pragma once

#include <gtest/gtest.h>

#include "RecordingSheet.h"
#include "editor/EditorView.h"
#include "graphics/FontTable.h"

namespace kxtest {

class EditorViewFixture : public testing::Test {
protected:
    void SetUp() override {
        view.SetSprites(&full, &trans);
        fonts.SetLoadingDone(); // no text: switch numbers are checked elsewhere
        view.SetFontTable(&fonts);
        // The field from x = 0 to 699, the separator from 700, the palette from 704.
        view.SetClientSize(800, 600);
    }
    kx::CKrawlixEditorDoc doc;
    kx::CKrawlixEditorView view{doc};
    CRecordingSheet full, trans;
    kx::CFontTable fonts;
    kx::CDrawDevice24 surface;
};

} // namespace kxtest
