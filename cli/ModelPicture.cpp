#include "cli/ModelPicture.h"

#include "platform/RasterCanvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

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
  if (!picture.save(&buffer, "PNG")) {
    throw std::runtime_error("Não foi possível codificar a imagem em PNG");
  }
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

/// A one-page PDF written by hand: Qt's own PDF writer stores pictures as
/// JPEG, which would blur the one-pixel lines of the model.
std::string PdfText(const QImage& picture) {
  QByteArray rgb;
  rgb.reserve(qsizetype(picture.width()) * picture.height() * 3);
  for (int y = 0; y < picture.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      rgb.append(char(qRed(row[x]))).append(char(qGreen(row[x]))).append(char(qBlue(row[x])));
    }
  }
  // qCompress puts the length in front of a zlib stream, which is what FlateDecode reads.
  const QByteArray pixels = qCompress(rgb, 9).mid(4);
  const std::string w = std::to_string(picture.width());
  const std::string h = std::to_string(picture.height());
  const std::string draw = "q " + w + " 0 0 " + h + " 0 0 cm /Im0 Do Q\n";

  std::string pdf = "%PDF-1.4\n";
  std::vector<std::size_t> offsets;
  const auto object = [&](const std::string& body) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
  };
  object("<< /Type /Catalog /Pages 2 0 R >>");
  object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + w + " " + h +
         "] /Resources << /XObject << /Im0 4 0 R >> >> /Contents 5 0 R >>");
  object("<< /Type /XObject /Subtype /Image /Width " + w + " /Height " + h +
         " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /Length " +
         std::to_string(pixels.size()) + " >>\nstream\n" + pixels.toStdString() + "\nendstream");
  object("<< /Length " + std::to_string(draw.size()) + " >>\nstream\n" + draw + "endstream");
  const std::size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
  for (const std::size_t offset : offsets) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    pdf += entry;
  }
  pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return pdf;
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
    case PictureFormat::Pdf: return PdfText(picture);
  }
  throw std::logic_error("unknown picture format");
}
