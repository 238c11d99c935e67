#pragma once
// A box offering the result layouts: each item the layout's caption, its data the layout's id
// (what the settings keep), its tooltip the sentence that says what the layout's lines hold and
// which programs read it; the box's own tooltip follows the layout chosen.

#include <QComboBox>
#include <string>
#include <string_view>

namespace qorvel::gui {

void FillLayoutBox(QComboBox& box);
// Chooses the layout of `id`; the first when no item has it.
void ChooseLayout(QComboBox& box, std::string_view id);
// The id of the layout chosen.
std::string ChosenLayout(const QComboBox& box);

}  // namespace qorvel::gui
