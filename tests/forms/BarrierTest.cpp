// A handler's exception stops at our window procedure: it is reported in a message box and the
// window goes on. Before, it unwound through the system's dispatch and ended the process.
#include "MessageBoxAnswerer.h"
#include "forms/ComponentFactory.h"
#include "forms/DesignText.h"
#include "forms/Form.h"
#include "forms/ListBox.h"
#include "win32/Program.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>

using namespace cw;

namespace {

const char* const kDesign = R"(begin Form FormBarrier
    caption = "Barrier"
    clientwidth = 4500
    clientheight = 3000
    begin CommandButton CommandFail
        caption = "Fail"
        width = 1200
        height = 375
    end
    begin ListBox ListFail
        left = 120
        top = 600
        width = 1200
        height = 1200
    end
    begin Painter PainterFail
        left = 1500
        top = 600
        width = 1500
        height = 1500
    end
end
)";

bool failPaint = false;

// Fails a paint when asked, with an exception of no standard kind.
struct Painter : Component {
    using Component::Component;
    void Paint(HDC) override {
        if (std::exchange(failPaint, false))
            throw 42;
    }
};

// Handlers that fail the first time they run.
class FailingForm : public Form {
public:
    FailingForm() {
        BindEvents<FailingForm>({
            {"CommandFail", Event::Click, &FailingForm::CommandFail_Click},
            {"ListFail", Event::KeyDown, &FailingForm::ListFail_KeyDown},
        });
    }
    int clicks = 0, keys = 0;

private:
    void CommandFail_Click() {
        if (++clicks == 1)
            throw std::runtime_error("The click failed");
    }
    void ListFail_KeyDown(int&, int) {
        if (++keys == 1)
            throw std::runtime_error("The key failed");
    }
};

TEST(Barrier, ReportsAHandlersExceptionAndTheWindowGoesOn) {
    ComponentFactory::Register("Painter",
                               [](ComponentHost& host) { return std::make_unique<Painter>(host); });
    cwtest::MessageBoxAnswerer boxes;
    FailingForm form;
    ASSERT_TRUE(form.Load(*ReadDesign(kDesign).design)) << form.LoadError();
    form.Show();
    UpdateWindow(form.Hwnd());
    const HWND button = form.Get<Control>("CommandFail").Hwnd();
    const HWND list = form.Get<ListBox>("ListFail").Hwnd();
    const HWND painter = form.FindComponent("PainterFail")->Hwnd();
    const struct {
        const char* text;
        bool paintFails; // only here: a stray paint in another case must not fail
        std::function<void()> raise;
    } cases[] = {
        {"The click failed", false, [&] { SendMessageA(button, BM_CLICK, 0, 0); }},
        {"The key failed", false, [&] { SendMessageA(list, WM_KEYDOWN, 'A', 0); }},
        {"An unexpected error occurred.", true,
         [&] {
             InvalidateRect(painter, nullptr, TRUE);
             UpdateWindow(painter);
         }},
    };
    for (const auto& c : cases) {
        const size_t before = boxes.Boxes().size();
        failPaint = c.paintFails;
        c.raise();
        ASSERT_EQ(boxes.Boxes().size(), before + 1) << c.text;
        EXPECT_EQ(boxes.Boxes().back().text, c.text);
        EXPECT_EQ(boxes.Boxes().back().title, Program::Title());
        EXPECT_EQ(boxes.Boxes().back().icon, cwtest::BoxIcon::Exclamation);
        c.raise(); // the window goes on: the same way in succeeds now, without a box
        EXPECT_EQ(boxes.Boxes().size(), before + 1) << c.text;
        EXPECT_TRUE(form.Loaded()) << c.text;
    }
    EXPECT_EQ(form.clicks, 2);
    EXPECT_EQ(form.keys, 2);
    form.Unload();
    ComponentFactory::Unregister("Painter");
}

} // namespace
