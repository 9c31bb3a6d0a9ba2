// The editor document's heavy edits: resizing a 1000 x 1000 field with its undo step, and the undo.
#include <benchmark/benchmark.h>

#include "editor/EditorDoc.h"

namespace {

// One resize with its undo record, then its undo: a field of a million cells cut by a row and
// a column and brought back.
void BM_ResizeAMillionCellsAndUndo(benchmark::State& state) {
    kx::CKrawlixEditorDoc doc;
    doc.CreateStyledField(1000, 1000, "Rot");
    int32_t corner = 0;
    for (auto _ : state) {
        doc.ResizeField(999, 999, "Blau", corner);
        benchmark::DoNotOptimize(doc.Undo());
        corner = (corner + 1) % 4;
    }
}
BENCHMARK(BM_ResizeAMillionCellsAndUndo)->Unit(benchmark::kMillisecond);

} // namespace
