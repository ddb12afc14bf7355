// The program's help window: the pages of the active language in a text
// browser with Back, Forward and Home (the overview).
#pragma once

class Form;

// Builds the help window, hidden.
Form* help_viewer_create();

// Shows topic ("Overview", "ContactDetails", ...) in the help window; when
// the help folder or the page is missing, shows error 1005 or 1006 instead.
void help_show(const char* topic);
