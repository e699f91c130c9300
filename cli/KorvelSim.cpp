#include "cli/KorvelSim.h"

#include "cli/LevelCsv.h"
#include "cli/ModelPicture.h"
#include "cli/SimHost.h"
#include "cli/SimOptions.h"
#include "document/ModelText.h"
#include "document/uEditor.h"
#include "model/uVar.h"
#include "platform/AtomicFile.h"
#include "platform/RasterCanvas.h"

#include <QImage>

#include <exception>
#include <memory>
#include <optional>

namespace {

constexpr int kExitFile = 1;
constexpr int kExitUsage = 2;

std::vector<long double> LevelsOf(const TEditor& editor) {
  std::vector<long double> levels;
  levels.reserve(editor.Variables.size());
  for (const auto& v : editor.Variables) levels.push_back(v->Level);
  return levels;
}

/// The CSV table's destination: standard output, or a file put in place at the end.
class TableSink {
public:
  TableSink(std::ostream& out, const std::string& path) : out_(out) {
    if (!path.empty()) file_.emplace(path);
  }

  void Write(const std::string& text) {
    if (file_) {
      file_->Write(text);
    } else {
      out_ << text;
    }
  }

  void Finish() {
    if (file_) {
      file_->Commit();
      return;
    }
    out_.flush();
    if (!out_) throw std::runtime_error("Cannot write the table to standard output");
  }

private:
  std::ostream& out_;
  std::optional<AtomicFile> file_;
};

}  // namespace

int RunKorvelSim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string usageError;
  const std::optional<SimOptions> options = ParseSimOptions(args, usageError);
  if (!options) {
    err << usageError << '\n';
    return kExitUsage;
  }
  if (options->help) {
    out << kSimUsage << '\n';
    return 0;
  }

  // A picture is drawn on a canvas of the window's size, so that a model
  // opens, pulled inside, as the window shows it; a plain run has room for any.
  const bool picture = !options->picturePath.empty();
  const std::int32_t canvasWidth =
      picture ? (options->pictureWidth > 0 ? options->pictureWidth : kPictureCanvasWidth)
              : kSimCanvasSize;
  const std::int32_t canvasHeight =
      picture ? (options->pictureWidth > 0 ? options->pictureHeight : kPictureCanvasHeight)
              : kSimCanvasSize;

  SimHost host;
  TEditor editor(host);
  // Heap: 64 MiB of pixels don't belong on the stack frame of a caller's thread.
  auto canvas = std::make_unique<RasterCanvas>(canvasWidth, canvasHeight);
  RasterCanvas graph(picture ? canvasWidth : 800, kPictureGraphHeight);
  editor.AttachCanvas(canvas.get());
  editor.GraphImage = &graph;
  editor.ResetGraph();

  try {
    if (editor.LoadFromLines(ReadModelFile(options->modelPath)) == LoadOutcome::HeaderRefused) {
      err << host.Messages().back() << '\n';
      return kExitFile;
    }
  } catch (const std::exception& e) {
    err << e.what() << '\n';
    return kExitFile;
  }

  if (options->method) {
    // As the method menu items do, so that a saved model names the method it ran with.
    const bool euler = *options->method == IntegrationMethod::Euler;
    host.SetMethodCode(euler ? 1 : 2);
    host.SetMethodChecks(euler, !euler);
    editor.SetIntegrationMethod(euler ? 1 : 0);
  }

  try {
    TableSink table(out, options->outputPath);
    std::vector<std::string> names;
    for (const auto& v : editor.Variables) names.push_back(v->Name);
    const LevelCsv csv(names);
    table.Write(csv.HeaderLine());

    editor.UseSelectTool();
    editor.StartAnimation();
    editor.SaveStatesBeforeAnimation();
    table.Write(csv.RowLine(0, LevelsOf(editor)));
    for (std::int32_t tick = 1; tick <= options->ticks; ++tick) {
      editor.Tick();
      host.CountTick();
      table.Write(csv.RowLine(tick, LevelsOf(editor)));
    }

    if (!options->savePath.empty()) {
      ModelLines lines;
      editor.SaveToLines(lines);
      WriteModelFile(options->savePath, lines);
    }
    if (picture) {
      WriteFileAtomically(options->picturePath,
                          EncodePicture(ComposePicture(*canvas, graph),
                                        *PictureFormatOf(options->picturePath)));
    }
    table.Finish();
  } catch (const std::exception& e) {
    err << e.what() << '\n';
    return kExitFile;
  }
  return 0;
}
