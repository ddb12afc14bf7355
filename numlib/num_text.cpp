// Text of a value of the current number type.
#include "numlib/mp_error.h"
#include "numlib/text_impl.h"

i32 num_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags) {
    switch (mp_num_type) {
        case MP_TYPE_REAL:
            return real_to_text(buffer, capacity, value, flags);
        case MP_TYPE_CPLX:
            return cplx_to_text(buffer, capacity, value, flags);
        case MP_TYPE_RAT:
            return rat_to_text(buffer, capacity, value, flags);
        case MP_TYPE_UINT:
            return uint_to_text(buffer, capacity, value, flags, 10);
        default:
            break;
    }
    TextBuf sink = text_sink_open(buffer, capacity);
    mp_raise(MP_ERR_TYPE);
    return static_cast<i32>(text_sink_finish(&sink, flags));
}
