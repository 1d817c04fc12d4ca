#include "platform/framework/check_box.h"

#include <QCheckBox>

#include "platform/messages/application.h"

namespace rv {

TCheckBox::TCheckBox(TComponent* owner) : TWidgetControl(owner) {
    InitBounds(0, 0, 97, 17);
    SetParentColor(true);
    ColorIsBackground = false;
    // The click is the tick changing, whatever changed it.
    ControlStyle &= ~unsigned(csClickEvents);
    auto* box = new QCheckBox;
    QObject::connect(box, &QCheckBox::toggled, Guard(),
                     [this] { RunReported([this] { Click(); }); });
    SetFace(box);
}

bool TCheckBox::Checked() const {
    return static_cast<QCheckBox*>(Face())->isChecked();
}

void TCheckBox::SetChecked(bool checked) {
    static_cast<QCheckBox*>(Face())->setChecked(checked);
}

void TCheckBox::TextChanged() {
    static_cast<QCheckBox*>(Face())->setText(QString::fromStdString(Caption()));
}

}  // namespace rv
