// Every benchmark of bench/: the engine against the flat kernel, drawing, and
// the model file. Text is rendered through Qt, so a QGuiApplication runs on the
// offscreen platform.

#include "bench/BenchModels.h"
#include "bench/FlatKernel.h"
#include "cli/SimHost.h"
#include "document/ModelText.h"
#include "document/uEditor.h"
#include "model/uVar.h"
#include "platform/RasterCanvas.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

/// A document on a canvas that holds the generated model, as the program
/// shows it, with the graph the program has.
struct Scene {
  Scene(ModelShape shape, int n)
      : size(CanvasFor(shape, n)), canvas(size.width, size.height), graph(800, 100) {
    editor.AttachCanvas(&canvas);
    editor.GraphImage = &graph;
    editor.ResetGraph();
    BuildModel(editor, shape, n);
  }

  void Play(IntegrationMethod method) {
    editor.SetIntegrationMethod(method);
    editor.StartAnimation();
    editor.SaveStatesBeforeAnimation();
  }

  CanvasSize size;
  RasterCanvas canvas;
  RasterCanvas graph;
  SimHost host;
  TEditor editor{host};
};

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

/// Runs the engine and the kernel side by side; false at the first bit that differs.
bool KernelMatchesEngine(ModelShape shape, int n, IntegrationMethod method, int ticks) {
  Scene scene(shape, n);
  scene.Play(method);
  FlatKernel kernel(scene.editor);
  for (int t = 0; t < ticks; ++t) {
    scene.editor.Tick();
    kernel.Tick(method);
    for (std::size_t i = 0; i < scene.editor.Variables.size(); ++i) {
      const TVariavel& v = *scene.editor.Variables[i];
      if (!SameBits(v.InnerValue, kernel.Inner()[i]) || !SameBits(v.Level, kernel.Level()[i]))
        return false;
    }
  }
  return true;
}

void EngineTick(benchmark::State& state, ModelShape shape, IntegrationMethod method) {
  Scene scene(shape, int(state.range(0)));
  scene.Play(method);
  for (auto _ : state) scene.editor.Tick();
  state.SetItemsProcessed(state.iterations());
}

void FlatTick(benchmark::State& state, ModelShape shape, IntegrationMethod method) {
  const int n = int(state.range(0));
  if (!KernelMatchesEngine(shape, n, method, 30)) {
    state.SkipWithError("the flat kernel and the engine differ");
    return;
  }
  Scene scene(shape, n);
  scene.Play(method);
  FlatKernel kernel(scene.editor);
  for (auto _ : state) kernel.Tick(method);
  state.counters["identical"] = 1;
  state.SetItemsProcessed(state.iterations());
}

void DrawAll(benchmark::State& state) {
  Scene scene(ModelShape::FanIn, int(state.range(0)));
  for (auto _ : state) scene.editor.Paint();
}

/// What a tick draws after integrating: the marks that moved, switch strips,
/// the graph's column. The integration runs untimed in between.
void TickRedraw(benchmark::State& state) {
  Scene scene(ModelShape::FanIn, int(state.range(0)));
  scene.Play(IntegrationMethod::Euler);
  TEditor& e = scene.editor;
  for (auto _ : state) {
    state.PauseTiming();
    e.MarkTickStart();
    for (int step = 0; step < 100; ++step) {
      e.ComputeRelationships();
      e.EulerPass();
      e.CommitStates();
    }
    state.ResumeTiming();
    e.RedrawLevels();
    e.PlotStep();
  }
}

constexpr int kFileModel = 10000;

std::string ModelFileBytes() {
  Scene scene(ModelShape::Sparse, kFileModel);
  ModelLines lines;
  scene.editor.SaveToLines(lines);
  return FileBytesFromLines(lines);
}

void OpenFile(benchmark::State& state) {
  const std::string bytes = ModelFileBytes();
  const CanvasSize size = CanvasFor(ModelShape::Sparse, kFileModel);
  RasterCanvas canvas(size.width, size.height);
  SimHost host;
  TEditor editor(host);
  editor.AttachCanvas(&canvas);
  for (auto _ : state) editor.LoadFromLines(LinesFromFileBytes(bytes));
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}

/// What "Salvar" and korvel-sim's --save do before the atomic write: the
/// model's lines into the line buffer, then the file's bytes.
void SaveFile(benchmark::State& state) {
  Scene scene(ModelShape::Sparse, kFileModel);
  ModelLines lines;
  std::size_t size = 0;
  for (auto _ : state) {
    scene.editor.SaveToLines(lines);
    size = FileBytesFromLines(lines).size();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}

/// What every command of the window adds: the text a save would write, taken
/// before and after a command that changes nothing.
void CommandCheck(benchmark::State& state) {
  Scene scene(ModelShape::Sparse, kFileModel);
  for (auto _ : state) {
    scene.editor.BeginCommand();
    scene.editor.EndCommand();
  }
}

void RegisterAll() {
  for (ModelShape shape : {ModelShape::Chain, ModelShape::FanIn}) {
    for (IntegrationMethod method : {IntegrationMethod::RungeKutta, IntegrationMethod::Euler}) {
      const std::string suffix = std::string(ShapeName(shape)) +
                                 (method == IntegrationMethod::Euler ? "/euler" : "/rk4");
      // 300 as well: korvel-sim's runs on the fan-in are compared with it.
      benchmark::RegisterBenchmark(("engine/" + suffix).c_str(), EngineTick, shape, method)
          ->Arg(10)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("flat/" + suffix).c_str(), FlatTick, shape, method)
          ->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::RegisterBenchmark("draw/all", DrawAll)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("draw/tick", TickRedraw)
      ->Arg(10)->Arg(100)->Arg(1000)->Iterations(300)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("file/open", OpenFile)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("file/save", SaveFile)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("file/command", CommandCheck)->Unit(benchmark::kMillisecond);
}

/// The models bench/run shows in the real program, at the 1 ms interval:
///   --write-model chain|fanin N OUT.KRL   a generated model, Runge-Kutta
///   --write-model copy IN.KRL OUT.KRL     a model file as it is
int WriteModel(int argc, char** argv) {
  if (argc != 5) return 2;
  const std::string what = argv[2];
  const ModelShape shape = what == "fanin" ? ModelShape::FanIn
                           : what == "chain" ? ModelShape::Chain
                                             : ModelShape::Sparse;
  Scene scene(shape,
              what == "copy" ? 0 : std::stoi(argv[3]));
  if (what == "copy") scene.editor.LoadFromLines(ReadModelFile(argv[3]));
  if (what != "copy") scene.host.SetMethodCode(MethodCode::RungeKutta);
  scene.host.SetTimerInterval(1);
  ModelLines lines;
  scene.editor.SaveToLines(lines);
  WriteModelFile(argv[4], lines);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc > 1 && std::string(argv[1]) == "--write-model") return WriteModel(argc, argv);
  benchmark::Initialize(&argc, argv);
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
