// Cost of one GDT lookup of the last slot of a 3000-slot window as GDT grows.
// The window sits in GDT's last slot, the worst place for a walk over the
// slots; the walk itself is measured next to the engine's lookup for scale.
#include <benchmark/benchmark.h>

#include <glimmer/glimmer.h>

namespace {

constexpr int WindowSlots = 3000;

// Rebuilds GDT only when the size changes: filling 30000 slots one by one
// takes far longer than the measurement.
unsigned int PrepareGdt(int gdtSize) {
    static int preparedSize = 0;
    static unsigned int lastSlot = 0;
    if (preparedSize != gdtSize) {
        GDT.CreateDT(gdtSize);
        for (int i = 0; i + 1 < gdtSize; ++i) GDT.CreateDescriptor(TypeCatalog + 1, nullptr, 1);
        short params[2] = {1, 0};
        unsigned long window = GDT.CreateDescriptor(TypeWindow, params, WindowSlots);
        DTable& table = ObjectOf<Window>(window)->Table;
        table.CreateDescriptor(TypeCatalog + 1, nullptr, 1);
        lastSlot = table.Start + WindowSlots - 1;
        preparedSize = gdtSize;
        DebugLogReset();
    }
    return lastSlot;
}

// The plain walk over every slot and range entry in order, for comparison.
Descriptor* WalkGetData(DTable& t, unsigned int desc) {
    for (int i = 0; i < t.MLimit; ++i) {
        if (t.Descriptors[i].Desc == desc) return &t.Descriptors[i];
        if (t.RangeStart[i] <= desc && desc < t.RangeStart[i] + t.RangeSize[i]) {
            int owner = 0;
            while (owner < t.MLimit && t.Descriptors[owner].Desc != t.RangeOwner[i]) ++owner;
            if (owner == t.MLimit || t.Descriptors[owner].Type != TypeWindow) continue;
            Descriptor* found = WalkGetData(static_cast<Window*>(t.Descriptors[owner].Object)->Table, desc);
            if (found) return found;
        }
    }
    return nullptr;
}

void GdtLookup(benchmark::State& state) {
    unsigned int desc = PrepareGdt(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(GDT.GetData(desc));
    state.SetLabel("GDT slots");
}

void SlotWalk(benchmark::State& state) {
    unsigned int desc = PrepareGdt(static_cast<int>(state.range(0)));
    if (WalkGetData(GDT, desc) != GDT.GetData(desc)) state.SkipWithError("walk and lookup disagree");
    for (auto _ : state) benchmark::DoNotOptimize(WalkGetData(GDT, desc));
    state.SetLabel("GDT slots");
}

}  // namespace

BENCHMARK(GdtLookup)->Arg(300)->Arg(3000)->Arg(30000);
BENCHMARK(SlotWalk)->Arg(300)->Arg(3000)->Arg(30000);

BENCHMARK_MAIN();
