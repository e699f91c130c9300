#include "ui/WindowKeys.h"

#include <QKeySequence>
#include <QShortcut>
#include <QString>
#include <QToolButton>
#include <QWidget>

#include <cstring>

namespace {

struct ButtonKey {
  const char* button;
  /// Portable text of the key; empty for the file buttons, which the menu reaches.
  const char* key;
  /// A plain letter: only on the canvas.
  bool canvasOnly;
};

const ButtonKey kButtonKeys[] = {
    {"bNovo", "", false},
    {"bAbrir", "", false},
    {"bSalvar", "", false},
    {"bImprimir", "", false},
    {"bSelecao", "S", true},
    {"bVarContinua", "C", true},
    {"bVarLigaDesliga", "L", true},
    {"bRelacionamentoTaxa", "T", true},
    {"bRelacionamentoProporcao", "P", true},
    {"bPlay", "F5", false},
    {"bPause", "Shift+F5", false},
    {"bReinicializar", "F7", false},
    {"bZerar", "F8", false},
    {"bRelogio", "F9", false},
};

}  // namespace

const char* ToolButtonOfKey(int key) {
  for (const ButtonKey& b : kButtonKeys)
    if (b.canvasOnly && QKeySequence(QString::fromLatin1(b.key))[0].key() == key) return b.button;
  return nullptr;
}

void InstallWindowKeys(QWidget& window) {
  for (const ButtonKey& b : kButtonKeys) {
    auto* button = window.findChild<QToolButton*>(QLatin1String(b.button));
    if (!button) continue;
    button->setAccessibleName(button->toolTip());
    if (!*b.key) {
      button->setAccessibleDescription(QStringLiteral("No menu Arquivo"));
      continue;
    }
    const QKeySequence key(QString::fromLatin1(b.key));
    const QString keyText = key.toString(QKeySequence::NativeText);
    button->setAccessibleDescription(
        (b.canvasOnly ? QStringLiteral("Tecla %1 no modelo") : QStringLiteral("Tecla %1")).arg(keyText));
    if (b.canvasOnly) continue;
    // As a click: nothing while the button is disabled.
    auto* shortcut = new QShortcut(key, &window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
      if (button->isEnabled()) button->click();
    });
  }
}
