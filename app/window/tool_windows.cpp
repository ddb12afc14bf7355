// The registry of the tool windows.
#include "app/window/tool_windows.h"

#include <array>
#include <cstring>

#include "calculator/window/calc_window.h"
#include "equations/window/equations_window.h"
#include "linear/window/linear_window.h"
#include "polynomial/window/polynomial_window.h"
#include "primes/window/prime_windows.h"
#include "ui/form.h"

namespace {

// Menu order. A tool's window plugs in by naming its create function (and,
// if it keeps settings, its before_save) here.
const std::array<ToolPage, 6> pages = {{
    {"calculator", 6, 201, calculator_window_create, calculator_before_save},
    {"equations", 7, 202, equations_window_create, nullptr},
    {"linear", 8, 203, linear_window_create, nullptr},
    {"polynomial", 9, 204, polynomial_window_create, nullptr},
    {"primes", 10, 205, primes_window_create, nullptr},
    {"factors", 11, 206, factors_window_create, nullptr},
}};

// The order in which the windows are created at start-up.
constexpr std::array<int, 6> creation_order = {0, 1, 4, 5, 3, 2};

std::array<Form*, 6> windows{};

std::size_t index_of(const ToolPage& page) { return static_cast<std::size_t>(&page - pages.data()); }

}  // namespace

std::span<const ToolPage> tool_pages() { return pages; }

void tool_windows_create(Form* main) {
    for (int i : creation_order) {
        const ToolPage& page = pages[static_cast<std::size_t>(i)];
        if (page.create == nullptr || windows[index_of(page)] != nullptr) continue;
        Form* form = page.create();
        form->on_close = [main] {
            main->raise();
            main->activateWindow();
        };
        windows[index_of(page)] = form;
    }
}

Form* tool_window(const ToolPage& page) { return windows[index_of(page)]; }

void tool_window_show(const ToolPage& page) {
    Form* form = tool_window(page);
    if (form == nullptr) return;
    form->show();
    form->raise();
    form->activateWindow();
}

const ToolPage* tool_page_named(const char* name) {
    for (const ToolPage& page : pages)
        if (std::strcmp(page.name, name) == 0) return &page;
    return nullptr;
}

void tool_windows_before_save() {
    for (const ToolPage& page : pages)
        if (page.before_save != nullptr) page.before_save();
}

void tool_windows_forget() {
    for (Form*& w : windows) {
        delete w;
        w = nullptr;
    }
}
