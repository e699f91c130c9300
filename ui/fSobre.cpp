#include "ui/fSobre.h"

#include "ui/DialogSupport.h"

#include <QFile>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QSvgRenderer>

TfrmSobre* frmSobre = nullptr;

const char* const TfrmSobre::IconPath = ":/icons/about-icon.svg";

namespace {

/// The icon at 32 x 32; an empty pixmap when the resource is missing.
QPixmap IconPixmap() {
  const QString path = QString::fromLatin1(TfrmSobre::IconPath);
  if (!QFile::exists(path)) return {};
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return {};
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  return pixmap;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

TfrmSobre::TfrmSobre(QWidget* parent)
    : QDialog(parent, kDialogWindowFlags) {
  SetUpDialog(*this, QStringLiteral("Korvel"), DialogFont(false), 235, 203);

  Image1 = new QLabel(this);
  Image1->setGeometry(8, 8, 32, 32);
  Image1->setPixmap(IconPixmap());

  const QFont bold = PixelFont(Face::Sans, 13, true);
  const QFont regular = PixelFont(Face::Sans, 13);
  Label6 = MakeLabel(this, QStringLiteral("Korvel"), 44, 9, PixelFont(Face::Sans, 32));
  Label1 = MakeLabel(this, QStringLiteral("versão 1.0"), 44, 45, bold);

  // A bevel that shows only its bottom line: a sunken rule along the bottom
  // of the 181 x 9 box under the version.
  Bevel1 = new QFrame(this);
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setGeometry(44, 67, 181, 2);

  Label2 = MakeLabel(this, QStringLiteral("Concepção e Modelagem:"), 44, 73, bold);
  Label3 = MakeLabel(this, QStringLiteral("Equipe Korvel"), 64, 93, regular);
  label10 = MakeLabel(this, QStringLiteral("Implementação:"), 44, 125, bold);
  Label4 = MakeLabel(this, QStringLiteral("Equipe Korvel"), 64, 145, regular);

  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setGeometry(80, 176, 75, 25);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmSobre::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) CentreOnScreen(*this);
}
