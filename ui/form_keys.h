// The keyboard rules of the forms, applied by one filter on the application
// before a control sees the key.
#pragma once

#include <vector>

class QRadioButton;

// Installs the filter once; every Form calls it.
void form_keys_install();

// The radio buttons of r's group: the run of radio buttons among its
// sibling widgets (in creation order) that contains r.
std::vector<QRadioButton*> radio_group_of(QRadioButton* r);
