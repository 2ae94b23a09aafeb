// The built-in control classes of dialog templates: static, edit, button
// (push, check, radio, group box), combo box, list box and report list view.
#pragma once

#include "WindowTable.h"

namespace ui::detail {

// Makes the control's widget as a child of parent and its behaviour into
// window; false for a class it does not know.
bool createControl(const DialogControl& control, QWidget* parent, Window& window);

// Per class; each sets window.widget and window.behaviour.
void createStatic(const DialogControl& control, QWidget* parent, Window& window);
void createEdit(const DialogControl& control, QWidget* parent, Window& window);
void createButton(const DialogControl& control, QWidget* parent, Window& window);
void createComboBox(const DialogControl& control, QWidget* parent, Window& window);
void createListBox(const DialogControl& control, QWidget* parent, Window& window);
void createListView(const DialogControl& control, QWidget* parent, Window& window);

// The radio buttons of the control's group, in template order: from the
// nearest sibling at or before it with WS_GROUP up to the next one.
std::vector<Window*> radioGroup(const Window& control);
bool isRadioButton(const Window& window);

} // namespace ui::detail
