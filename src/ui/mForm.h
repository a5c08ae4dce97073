// Helpers for forms.
#pragma once

namespace tessaly::ui {

class Form;

// Centres the form on the screen: Top first, then Left.
void CenterForm(Form& f);

}  // namespace tessaly::ui
