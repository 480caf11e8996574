#include "admin/screenshots/readability.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <optional>

#include "admin/core/theme_colours.h"

namespace orvane::admin::screenshots {

namespace {

// A text and the palette roles it is drawn with. Background none: the text
// stands on whatever its parents paint.
struct Shown {
  QString text;
  QPalette::ColorRole foreground;
  std::optional<QPalette::ColorRole> background;
};

std::optional<Shown> shownText(const QWidget& widget) {
  if (const auto* label = qobject_cast<const QLabel*>(&widget))
    return Shown{label->text(), label->foregroundRole(), std::nullopt};
  if (qobject_cast<const QCheckBox*>(&widget) || qobject_cast<const QRadioButton*>(&widget))
    return Shown{static_cast<const QAbstractButton&>(widget).text(), QPalette::WindowText,
                 std::nullopt};
  if (qobject_cast<const QPushButton*>(&widget) || qobject_cast<const QToolButton*>(&widget))
    return Shown{static_cast<const QAbstractButton&>(widget).text(), QPalette::ButtonText,
                 QPalette::Button};
  if (const auto* box = qobject_cast<const QGroupBox*>(&widget))
    return Shown{box->title(), QPalette::WindowText, std::nullopt};
  if (const auto* field = qobject_cast<const QLineEdit*>(&widget))
    return Shown{field->text(), QPalette::Text, QPalette::Base};
  if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(&widget))
    return Shown{spin->text(), QPalette::Text, QPalette::Base};
  if (const auto* list = qobject_cast<const QComboBox*>(&widget)) {
    // An editable list's line edit is checked as a field of its own.
    if (list->isEditable()) return std::nullopt;
    return Shown{list->currentText(), QPalette::ButtonText, QPalette::Button};
  }
  if (const auto* view = qobject_cast<const QAbstractItemView*>(&widget)) {
    const QAbstractItemModel* model = view->model();
    const QString first =
        model ? model->index(0, 0, view->rootIndex()).data().toString() : QString();
    return Shown{first, QPalette::Text, QPalette::Base};
  }
  return std::nullopt;
}

// The widget whose background shows behind a text without its own: the
// nearest that fills its background, the window at the latest.
const QWidget& backdropOf(const QWidget& widget) {
  const QWidget* backdrop = &widget;
  while (!backdrop->isWindow() && !backdrop->autoFillBackground())
    backdrop = backdrop->parentWidget();
  return *backdrop;
}

std::optional<TextContrast> measure(const QWidget& window, const QWidget& widget) {
  const std::optional<Shown> shown = shownText(widget);
  if (!shown || shown->text.trimmed().isEmpty()) return std::nullopt;
  if (const auto* label = qobject_cast<const QLabel*>(&widget); label && !label->pixmap().isNull())
    return std::nullopt;
  const bool enabled = widget.isEnabled();
  const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
  const QWidget& backdrop = shown->background ? widget : backdropOf(widget);
  const QPalette::ColorRole backRole = shown->background.value_or(backdrop.backgroundRole());
  const QColor text = widget.palette().color(group, shown->foreground);
  const QColor back = backdrop.palette().color(group, backRole);
  // A theme may give its own texts less: what the window's palette does
  // with them is the most that can be asked of a control.
  const QPalette& theme = window.palette();
  const double own =
      contrastRatio(theme.color(group, shown->foreground), theme.color(group, backRole));
  const double wanted = enabled ? toneContrast(textTone(widget)) : kDisabledContrast;
  const double required = std::min(wanted, own);
  const double contrast = contrastRatio(text, back);
  const QString name = widget.objectName().isEmpty()
                           ? QString::fromLatin1(widget.metaObject()->className())
                           : widget.objectName();
  return TextContrast{name, shown->text, contrast, required};
}

}  // namespace

std::vector<TextContrast> unreadableTexts(const QWidget& window) {
  std::vector<TextContrast> found;
  QList<const QWidget*> widgets{&window};
  for (const QWidget* child : window.findChildren<QWidget*>()) widgets << child;
  for (const QWidget* widget : widgets) {
    if (!widget->isVisibleTo(&window) && widget != &window) continue;
    const std::optional<TextContrast> measured = measure(window, *widget);
    if (measured && measured->contrast < measured->required) found.push_back(*measured);
  }
  return found;
}

QString describe(const TextContrast& text) {
  return QStringLiteral("%1 \"%2\": %3:1, needs %4:1")
      .arg(text.control, text.text)
      .arg(text.contrast, 0, 'f', 2)
      .arg(text.required, 0, 'f', 2);
}

}  // namespace orvane::admin::screenshots
