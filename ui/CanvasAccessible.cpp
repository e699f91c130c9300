#include "ui/CanvasAccessible.h"

#include "document/ModelDescription.h"
#include "document/uEditor.h"
#include "model/uRel.h"
#include "model/uVar.h"
#include "platform/RegionalSettings.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>

#include <algorithm>
#include <unordered_map>

namespace {

struct Exposed {
  const TEditor* document = nullptr;
  bool graph = false;
};

/// Views and the document they show; a view lives as long as its window.
QHash<const QObject*, Exposed>& Views() {
  static QHash<const QObject*, Exposed> views;
  return views;
}

/// Whether obj is still one of the document's objects: an interface may
/// outlive the object it was made for.
bool Owns(const TEditor& doc, const TObjGrafico* obj) {
  return std::any_of(doc.Variables.begin(), doc.Variables.end(),
                     [obj](const auto& v) { return v.get() == obj; }) ||
         std::any_of(doc.Relationships.begin(), doc.Relationships.end(),
                     [obj](const auto& r) { return r.get() == obj; });
}

class TCanvasAccessible;

/// One variable or relationship of the model.
class TObjectAccessible : public QAccessibleInterface, public QAccessibleValueInterface {
public:
  TObjectAccessible(TCanvasAccessible& canvas, const TEditor& doc, const TObjGrafico* obj)
      : canvas_(canvas), doc_(doc), obj_(obj) {}

  bool isValid() const override { return Owns(doc_, obj_); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    if (t == QAccessible::Name) return Name();
    if (t == QAccessible::Value) {
      if (const auto* v = Variable()) return QString::fromStdString(SpokenLevel(v->Level, DecimalSeparator()));
    }
    return {};
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override {
    // A gauge reads as a dial; a relationship is a drawing of an arrow.
    return Variable() ? QAccessible::Dial : QAccessible::Graphic;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.focusable = true;
    s.selectable = true;
    s.readOnly = true;
    if (isValid() && doc_.CurrentObject == obj_) {
      s.selected = true;
      s.focused = true;
    }
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface && Variable()) return static_cast<QAccessibleValueInterface*>(this);
    return nullptr;
  }

  QVariant currentValue() const override {
    const auto* v = Variable();
    return v && isValid() ? QVariant(double(v->Level)) : QVariant();
  }
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return 1.0; }
  QVariant minimumValue() const override {
    const auto* v = Variable();
    return v && v->IsAnyValue() ? -1.0 : 0.0;
  }
  QVariant minimumStepSize() const override { return 0.01; }

  QString Name() const {
    if (const auto* v = Variable()) return QString::fromStdString(DescribeVariable(*v, DecimalSeparator()));
    return QString::fromStdString(
        DescribeRelationship(static_cast<const TRelacionamento&>(*obj_), DecimalSeparator()));
  }
  const TObjGrafico* Object() const { return obj_; }

private:
  /// Null for a relationship; only read while the object is the document's.
  const TVariavel* Variable() const {
    if (!Owns(doc_, obj_)) return nullptr;
    return dynamic_cast<const TVariavel*>(obj_);
  }

  TCanvasAccessible& canvas_;
  const TEditor& doc_;
  const TObjGrafico* obj_;
};

/// The model canvas: a diagram whose children are the model's objects.
class TCanvasAccessible : public QAccessibleWidget {
public:
  TCanvasAccessible(QWidget* view, const TEditor& doc)
      : QAccessibleWidget(view, QAccessible::Canvas), doc_(doc) {}
  ~TCanvasAccessible() override {
    for (const auto& [obj, id] : children_) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return int(doc_.Variables.size() + doc_.Relationships.size()); }
  QAccessibleInterface* child(int index) const override {
    const TObjGrafico* obj = ObjectAt(index);
    return obj ? InterfaceOf(obj) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* o = dynamic_cast<const TObjectAccessible*>(child);
    if (!o) return -1;
    for (int i = 0; i < childCount(); ++i)
      if (ObjectAt(i) == o->Object()) return i;
    return -1;
  }
  QAccessibleInterface* focusChild() const override {
    return doc_.CurrentObject ? InterfaceOf(doc_.CurrentObject) : nullptr;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = childCount() - 1; i >= 0; --i) {
      QAccessibleInterface* c = child(i);
      if (c && c->rect().contains(x, y)) return c;
    }
    return nullptr;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return QStringLiteral("Modelo");
    if (t == QAccessible::Description)
      return QStringLiteral("%1 variáveis e %2 relacionamentos. Tab percorre os objetos, as setas "
                            "movem o selecionado, Enter abre suas propriedades; Ctrl+Tab sai do modelo.")
          .arg(doc_.Variables.size())
          .arg(doc_.Relationships.size());
    return QAccessibleWidget::text(t);
  }

  /// The interface of obj, made on first use and kept while obj lives.
  QAccessibleInterface* InterfaceOf(const TObjGrafico* obj) const {
    Prune();
    if (const auto it = children_.find(obj); it != children_.end())
      return QAccessible::accessibleInterface(it->second);
    auto* made = new TObjectAccessible(const_cast<TCanvasAccessible&>(*this), doc_, obj);
    children_[obj] = QAccessible::registerAccessibleInterface(made);
    return made;
  }

  /// What each child said when last announced.
  std::unordered_map<const TObjGrafico*, QString> spoken;

private:
  const TObjGrafico* ObjectAt(int index) const {
    if (index < 0) return nullptr;
    const std::size_t i = std::size_t(index);
    if (i < doc_.Variables.size()) return doc_.Variables[i].get();
    if (i - doc_.Variables.size() < doc_.Relationships.size())
      return doc_.Relationships[i - doc_.Variables.size()].get();
    return nullptr;
  }

  /// Forgets the interfaces of objects the document no longer has.
  void Prune() const {
    for (auto it = children_.begin(); it != children_.end();) {
      if (Owns(doc_, it->first)) {
        ++it;
        continue;
      }
      QAccessible::deleteAccessibleInterface(it->second);
      it = children_.erase(it);
    }
  }

  const TEditor& doc_;
  mutable std::unordered_map<const TObjGrafico*, QAccessible::Id> children_;
};

QWindow* TObjectAccessible::window() const { return canvas_.window(); }

QAccessibleInterface* TObjectAccessible::parent() const { return &canvas_; }

QRect TObjectAccessible::rect() const {
  if (!isValid()) return {};
  const QRect view = canvas_.rect();
  const int w = obj_->HalfWidth;
  const int h = obj_->HalfHeight;
  return QRect(view.x() + obj_->X - w, view.y() + obj_->Y - h, 2 * w + 1, 2 * h + 1);
}

/// The graph panel, summed up in its description.
class TGraphAccessible : public QAccessibleWidget {
public:
  TGraphAccessible(QWidget* view, const TEditor& doc)
      : QAccessibleWidget(view, QAccessible::Chart), doc_(doc) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return QStringLiteral("Gráfico");
    if (t == QAccessible::Description)
      return QString::fromStdString(DescribeGraph(doc_, DecimalSeparator()));
    return QAccessibleWidget::text(t);
  }

private:
  const TEditor& doc_;
};

QAccessibleInterface* ModelFactory(const QString&, QObject* object) {
  const auto it = Views().constFind(object);
  if (it == Views().constEnd()) return nullptr;
  auto* view = static_cast<QWidget*>(object);
  if (it->graph) return new TGraphAccessible(view, *it->document);
  return new TCanvasAccessible(view, *it->document);
}

TCanvasAccessible* CanvasOf(QWidget* modelView) {
  if (!QAccessible::isActive() || !modelView) return nullptr;
  return dynamic_cast<TCanvasAccessible*>(QAccessible::queryAccessibleInterface(modelView));
}

}  // namespace

void InstallModelAccessibility() { QAccessible::installFactory(ModelFactory); }

void ExposeModel(QWidget* modelView, QWidget* graphView, const TEditor& document) {
  Views().insert(modelView, {&document, false});
  Views().insert(graphView, {&document, true});
  for (QWidget* view : {modelView, graphView})
    QObject::connect(view, &QObject::destroyed, [view] { Views().remove(view); });
}

void AnnounceSelection(QWidget* modelView) {
  TCanvasAccessible* canvas = CanvasOf(modelView);
  if (!canvas) return;
  QAccessibleInterface* focus = canvas->focusChild();
  QAccessibleEvent event(focus ? focus : canvas, QAccessible::Focus);
  QAccessible::updateAccessibility(&event);
}

void AnnounceChanges(QWidget* modelView) {
  TCanvasAccessible* canvas = CanvasOf(modelView);
  if (!canvas) return;
  std::unordered_map<const TObjGrafico*, QString> now;
  bool reordered = false;
  for (int i = 0; i < canvas->childCount(); ++i) {
    auto* child = static_cast<TObjectAccessible*>(canvas->child(i));
    const QString name = child->Name();
    now[child->Object()] = name;
    const auto before = canvas->spoken.find(child->Object());
    if (before == canvas->spoken.end()) {
      QAccessibleEvent created(child, QAccessible::ObjectCreated);
      QAccessible::updateAccessibility(&created);
      reordered = true;
      continue;
    }
    if (before->second == name) continue;
    QAccessibleEvent renamed(child, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleValueChangeEvent changed(child, child->currentValue());
    QAccessible::updateAccessibility(&changed);
  }
  if (reordered || now.size() != canvas->spoken.size()) {
    QAccessibleEvent event(canvas, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
  }
  canvas->spoken = std::move(now);
}
