// The window "Polynomial calculation".
#pragma once

class Form;

Form* polynomial_window_create();
