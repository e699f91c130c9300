#include "platform/RegionalSettings.h"

#include <QDate>
#include <QLocale>
#include <QString>

namespace {

char pinnedSeparator = '\0';

}  // namespace

char DecimalSeparator() {
  if (pinnedSeparator != '\0') return pinnedSeparator;
  const QString point = QLocale::system().decimalPoint();
  // The model file knows only these two; any other separator would make it unreadable.
  if (point == QStringLiteral(",")) return ',';
  return '.';
}

std::string ShortDateText() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

void PinDecimalSeparator(char separator) { pinnedSeparator = separator; }
