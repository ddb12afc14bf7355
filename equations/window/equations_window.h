// The window "Solve algebraic equations".
#pragma once

class Form;

Form* equations_window_create();
