#include "tests/document/EditorTestSupport.h"
#include "tests/document/ModelChecks.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime; g++ ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

using editor_test::EditorFixture;

/// Bytes the program holds on the heap right now.
std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

class Soak : public EditorFixture {
protected:
  /// Twenty variables, five of each class, with every combination mode,
  /// switching side and effect when on; each drives the next one and the
  /// one seven on, by rate into odd variables and by proportion into even
  /// ones, in both directions, awake and asleep, with all three effects.
  void BuildModel() {
    for (int i = 0; i < 20; ++i) {
      const std::int32_t x = 60 + 35 * i, y = 150 + 200 * (i % 2);
      TVariavel* v = nullptr;
      switch (i % 4) {
        case 0: v = &AddRaw<TVarContinua>(x, y); break;
        case 1: v = &AddRaw<TVarContinuaQualquerValor>(x, y); break;
        case 2: v = &AddRaw<TVarLigaDesliga>(x, y); break;
        default: v = &AddRaw<TVarLigaDesligaQualquerValor>(x, y); break;
      }
      v->Level = (i % 3 - 1) * 0.45L;
      v->CombineMode = static_cast<CombineMode>(1 + i % 3);
      v->SelfChangeRate = 0.5 * (i % 3);
      v->SelfChangeDecreases = i % 5 != 0;
      v->PlotInGraph = i % 6 == 0;
      v->Awake = i != 13;
      v->InputKind = i % 2 ? RelationshipKind::Rate : RelationshipKind::Proportion;
      if (auto* onOff = dynamic_cast<TVarLigaDesliga*>(v)) {
        onOff->ThresholdLevel = 0.1L * (i % 5);
        onOff->OnBelow = i % 3 == 0;
        onOff->EffectWhenOn = static_cast<EffectWhenOn>(1 + i % 3);
      }
    }
    for (int i = 0; i < 20; ++i) {
      for (int step : {1, 7}) {
        TVariavel& to = *editor.Variables[std::size_t((i + step) % 20)];
        TRelacionamento& r = AddRawLink(*editor.Variables[std::size_t(i)], to);
        r.Kind = to.InputKind;
        r.SameDirection = (i + step) % 3 != 0;
        r.Awake = i != 4;
        r.Effect = i % 3 == 0 ? 0.5 : i % 3 == 1 ? 1.0 : 2.0;
      }
    }
  }
};

TEST_F(Soak, AHundredThousandTicksStayFiniteInBothMethodsAndHoldNoMoreMemory) {
  BuildModel();
  for (int method : {0, 1}) {
    SCOPED_TRACE(method == 0 ? "Runge-Kutta" : "Euler");
    editor.SetIntegrationMethod(static_cast<IntegrationMethod>(method));
    editor.StartAnimation();
    editor.SaveStatesBeforeAnimation();
    for (int tick = 0; tick < 1000; ++tick) editor.Tick();
    const std::size_t heapBefore = HeapInUse();
    for (int tick = 0; tick < 100000; ++tick) {
      editor.Tick();
      if (tick % 5000 == 0) {
        ASSERT_EQ(model_checks::NonFiniteValue(editor), "") << tick;
      }
    }
    EXPECT_EQ(model_checks::NonFiniteValue(editor), "");
    EXPECT_LE(HeapInUse(), heapBefore + 64 * 1024) << "heap grew while ticking";
    editor.StopAnimation();
  }
}

}  // namespace
