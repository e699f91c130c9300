#include "cli/ModelPicture.h"

#include "platform/RasterCanvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

namespace {

/// The window's pixels come at 96 per inch; a PDF page measures in points.
constexpr int kScreenDpi = 96;

const QColor kSplitterColour(192, 192, 192);

QImage ImageOf(const RasterCanvas& canvas) {
  // The canvas keeps Qt's RGB32 layout, so its rows copy over unchanged.
  QImage image(canvas.Width(), canvas.Height(), QImage::Format_RGB32);
  const std::uint32_t* bits = canvas.Bits();
  for (int y = 0; y < canvas.Height(); ++y) {
    std::memcpy(image.scanLine(y), bits + qsizetype(y) * canvas.Width(),
                std::size_t(canvas.Width()) * sizeof(std::uint32_t));
  }
  return image;
}

QByteArray PngBytes(const QImage& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "PNG")) throw std::runtime_error("Cannot encode the picture as PNG");
  return bytes;
}

std::string SvgText(const QImage& picture) {
  const std::string w = std::to_string(picture.width());
  const std::string h = std::to_string(picture.height());
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + " " + h + "\">\n<image width=\"" + w + "\" height=\"" + h +
         "\" style=\"image-rendering:pixelated\" href=\"data:image/png;base64," +
         PngBytes(picture).toBase64().toStdString() + "\"/>\n</svg>\n";
}

QByteArray PdfBytes(const QImage& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kScreenDpi);
    const QSizeF points(picture.width() * 72.0 / kScreenDpi, picture.height() * 72.0 / kScreenDpi);
    pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(),
                                            QPageSize::ExactMatch),
                                  QPageLayout::Portrait, QMarginsF()));
    pdf.setCreator(QStringLiteral("korvel-sim"));
    QPainter painter(&pdf);
    painter.drawImage(QPoint(0, 0), picture);
  }
  return bytes;
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const std::string& path) {
  const std::size_t dot = path.find_last_of("./");
  if (dot == std::string::npos || path[dot] != '.') return std::nullopt;
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (extension == "png") return PictureFormat::Png;
  if (extension == "svg") return PictureFormat::Svg;
  if (extension == "pdf") return PictureFormat::Pdf;
  return std::nullopt;
}

QImage ComposePicture(const RasterCanvas& model, const RasterCanvas& graph) {
  const int width = model.Width();
  QImage picture(width, model.Height() + kPictureSplitterHeight + graph.Height(),
                 QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.drawImage(QPoint(0, 0), ImageOf(model));
  painter.fillRect(0, model.Height(), width, kPictureSplitterHeight, kSplitterColour);
  painter.drawImage(QPoint(0, model.Height() + kPictureSplitterHeight), ImageOf(graph));
  return picture;
}

std::string EncodePicture(const QImage& picture, PictureFormat format) {
  switch (format) {
    case PictureFormat::Png: return PngBytes(picture).toStdString();
    case PictureFormat::Svg: return SvgText(picture);
    case PictureFormat::Pdf: return PdfBytes(picture).toStdString();
  }
  throw std::logic_error("unknown picture format");
}
