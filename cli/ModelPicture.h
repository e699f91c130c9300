#pragma once

#include <cstdint>
#include <optional>
#include <string>

class QImage;
class RasterCanvas;

/// The model canvas of the maximized window on a 1366x768 screen (under
/// openbox: 19 pixels of title bar, 20 of menu bar, 31 of toolbar above it,
/// 104 of splitter and graph below), the size a picture has when the command
/// line names none.
inline constexpr std::int32_t kPictureCanvasWidth = 1366;
inline constexpr std::int32_t kPictureCanvasHeight = 594;
/// Below the canvas the window shows the splitter bar and the graph panel,
/// which a model file opens at this height.
inline constexpr std::int32_t kPictureSplitterHeight = 4;
inline constexpr std::int32_t kPictureGraphHeight = 100;

enum class PictureFormat : std::uint8_t { Png, Svg, Pdf };

/// The format a picture file's extension asks for (case does not matter);
/// empty for any other extension.
std::optional<PictureFormat> PictureFormatOf(const std::string& path);

/// What the window shows below its toolbar: the model canvas, the silver
/// splitter bar and the graph, all as wide as the canvas, pixel for pixel.
QImage ComposePicture(const RasterCanvas& model, const RasterCanvas& graph);

/// The picture as the bytes of a file: a PNG, an SVG holding that PNG at one
/// pixel per unit, or a one-page PDF holding the same pixels, one point each.
std::string EncodePicture(const QImage& picture, PictureFormat format);
