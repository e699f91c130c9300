#include "cli/KorvelSim.h"

#include "document/LevelCsv.h"
#include "cli/ModelPicture.h"
#include "cli/SimHost.h"
#include "cli/SimOptions.h"
#include "document/ModelText.h"
#include "document/uEditor.h"
#include "platform/AtomicFile.h"
#include "platform/BlankCanvas.h"
#include "platform/FileMessages.h"
#include "platform/ProgramVersion.h"
#include "platform/RasterCanvas.h"

#include <QImage>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

namespace {

constexpr int kExitFile = 1;
constexpr int kExitUsage = 2;

/// The model's canvas and the graph's: with pixels for a picture, blank ones
/// of the same sizes otherwise.
struct SimCanvases {
  std::unique_ptr<Canvas> model;
  std::unique_ptr<Canvas> graph;
  /// The same two when they have pixels; null otherwise.
  const RasterCanvas* modelPixels = nullptr;
  const RasterCanvas* graphPixels = nullptr;
};

/// A picture is drawn on a canvas of the window's size, so that a model
/// opens, pulled inside, as the window shows it; a plain run has room for any
/// and lays the model out on it without drawing a pixel. Names are measured
/// only where positions are written: a name's width moves nothing else.
SimCanvases CanvasesFor(const SimOptions& options, const std::function<void()>& startText) {
  SimCanvases c;
  if (options.picturePath.empty()) {
    const bool positionsWritten = !options.savePath.empty();
    if (positionsWritten && startText) startText();
    const auto text = positionsWritten ? BlankCanvas::Text::Measured : BlankCanvas::Text::Skipped;
    c.model = std::make_unique<BlankCanvas>(kSimCanvasSize, kSimCanvasSize, text);
    c.graph = std::make_unique<BlankCanvas>(kSimGraphWidth, kPictureGraphHeight, text);
    return c;
  }
  if (startText) startText();
  const bool sized = options.pictureWidth > 0;
  const std::int32_t width = sized ? options.pictureWidth : kPictureCanvasWidth;
  const std::int32_t height = sized ? options.pictureHeight : kPictureCanvasHeight;
  auto model = std::make_unique<RasterCanvas>(width, height);
  auto graph = std::make_unique<RasterCanvas>(width, kPictureGraphHeight);
  c.modelPixels = model.get();
  c.graphPixels = graph.get();
  c.model = std::move(model);
  c.graph = std::move(graph);
  return c;
}

/// "Animar" and the ticks, with one CSV row of levels each to write, row 0
/// holding the levels the animation starts from.
template <class Write>
void Animate(TEditor& editor, SimHost& host, std::int32_t ticks, TableStyle style, Write write) {
  const LevelCsv csv(editor.VariableNames(), "tick", style);
  write(csv.HeaderLine());

  editor.UseSelectTool();
  editor.StartAnimation();
  editor.SaveStatesBeforeAnimation();
  write(csv.RowLine(0, editor.LevelsNow()));
  for (std::int32_t tick = 1; tick <= ticks; ++tick) {
    editor.Tick();
    host.CountTick();
    write(csv.RowLine(tick, editor.LevelsNow()));
  }
}

/// Animates the loaded model and writes what the options ask for; throws
/// with the message to show when something can't be written.
void AnimateAndWrite(const SimOptions& options, TEditor& editor, SimHost& host,
                     const SimCanvases& canvases, std::ostream& out) {
  // Every file is opened before the run, so that one that can't be written
  // stops it at once, and all are put in place together after it.
  std::optional<AtomicFile> table;
  std::optional<AtomicFile> saved;
  std::optional<AtomicFile> drawn;
  if (!options.outputPath.empty()) table.emplace(options.outputPath);
  if (!options.savePath.empty()) saved.emplace(options.savePath);
  if (!options.picturePath.empty()) drawn.emplace(options.picturePath);

  const TableStyle style = options.decimalComma ? kCsvWithComma : kCsvWithPoint;
  Animate(editor, host, options.ticks, style, [&](const std::string& text) {
    if (table) {
      table->Write(text);
    } else {
      out << text;
    }
  });

  if (saved) {
    ModelLines lines;
    editor.SaveToLines(lines);
    saved->Write(FileBytesFromLines(lines));
  }
  if (drawn) {
    drawn->Write(
        EncodePicture(ComposePicture(*canvases.modelPixels, *canvases.graphPixels),
                      *PictureFormatOf(options.picturePath)));
  }
  if (!table) {
    out.flush();
    if (!out) throw std::runtime_error("Não foi possível escrever a tabela na saída padrão");
  }
  const auto file = [](std::optional<AtomicFile>& f) { return f ? &*f : nullptr; };
  AtomicFile::CommitTogether({file(table), file(saved), file(drawn)});
}

}  // namespace

int RunKorvelSim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 const std::function<void()>& startText) {
  // One line whatever a name or a line of the model holds.
  const auto fail = [&err](std::string_view message, int status) {
    err << EscapedText(message) << '\n';
    return status;
  };
  std::string usageError;
  const std::optional<SimOptions> options = ParseSimOptions(args, usageError);
  if (!options) return fail(usageError, kExitUsage);
  if (options->help) {
    out << kSimUsage << '\n' << kSimHelp;
    return 0;
  }
  if (options->version) {
    out << VersionText("korvel-sim");
    return 0;
  }

  const SimCanvases canvases = CanvasesFor(*options, startText);
  SimHost host;
  TEditor editor(host);
  editor.AttachCanvas(canvases.model.get());
  editor.GraphImage = canvases.graph.get();
  editor.ResetGraph();

  try {
    if (editor.LoadFromLines(ReadModelFile(options->modelPath)) == LoadOutcome::HeaderRefused) {
      return fail(host.Messages().back(), kExitFile);
    }
  } catch (const std::exception& e) {
    return fail(e.what(), kExitFile);
  }
  // As the method menu items do, so that a saved model names the method it ran with.
  if (options->method) editor.ChooseMethod(*options->method);

  try {
    AnimateAndWrite(*options, editor, host, canvases, out);
  } catch (const std::exception& e) {
    return fail(e.what(), kExitFile);
  }
  return 0;
}
