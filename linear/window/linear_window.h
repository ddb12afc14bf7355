// The window "Systems of linear equations".
#pragma once

class Form;

Form* linear_window_create();
