#include "gui/layout_box.h"

#include <algorithm>
#include <string>

#include "frame/result_layouts.h"
#include "gui/qt_step_host.h"

namespace qorvel::gui {

void FillLayoutBox(QComboBox& box) {
    for (const ResultLayout& layout : ResultLayouts()) {
        box.addItem(FromUtf8(layout.caption), FromUtf8(layout.id));
        box.setItemData(box.count() - 1, FromUtf8(layout.description), Qt::ToolTipRole);
    }
    const auto describe = [&box](int index) { box.setToolTip(box.itemData(index, Qt::ToolTipRole).toString()); };
    QObject::connect(&box, &QComboBox::currentIndexChanged, &box, describe);
    describe(box.currentIndex());
}

void ChooseLayout(QComboBox& box, std::string_view id) {
    box.setCurrentIndex(std::max(0, box.findData(FromUtf8(id))));
}

std::string ChosenLayout(const QComboBox& box) { return box.currentData().toString().toStdString(); }

}  // namespace qorvel::gui
