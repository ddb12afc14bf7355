// The about box: the program's name and version, its rights line, and
// buttons to the contact and donation help pages. It only ever runs
// modally: from "Info ..." and once as the welcome at the first start.
#pragma once

class Form;

// Builds the about box, hidden. "Contact" and "Donate" open their help
// topics through show_topic; "OK" closes the box.
Form* about_box_create(void (*show_topic)(const char* topic));
