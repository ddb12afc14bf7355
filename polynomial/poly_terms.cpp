// The generic term list "a2*x^2 + a1*x + a0" of a polynomial of degree n.
#include "polynomial/poly.h"

void poly_term_list(TextBuf& buf, i32 n, char16_t letter) {
    if (n < 0 || n > 100) return;
    for (i32 k = n; k >= 0; --k) {
        if (n >= 5 && k == n - 2) {
            textbuf_append(buf, u"... + ");
            k = 1;
        }
        textbuf_append_char(buf, letter);
        textbuf_format(buf, u"%d", k);
        if (k >= 1) textbuf_append(buf, u"*x");
        if (k >= 2) textbuf_format(buf, u"^%d", k);
        if (k >= 1) textbuf_append(buf, u" + ");
    }
}
