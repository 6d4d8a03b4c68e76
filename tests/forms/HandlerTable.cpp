// Compiled, never run (tests/forms/CMakeLists.txt): a form's handler table names its members, so
// that a misspelt member, or one of the wrong shape for its event, is a compile error. With the
// names below the file compiles, which shows that the failures are the names' doing.
#include "forms/Form.h"

#ifndef CLICK_HANDLER
#define CLICK_HANDLER CommandGo_Click
#endif
#ifndef KEY_HANDLER
#define KEY_HANDLER ListItems_KeyDown
#endif

class FormProbe : public cw::Form {
public:
    FormProbe() {
        BindEvents<FormProbe>({
            {"CommandGo", cw::Event::Click, &FormProbe::CLICK_HANDLER},
            {"ListItems", cw::Event::KeyDown, &FormProbe::KEY_HANDLER},
        });
    }

private:
    void CommandGo_Click() {}
    void ListItems_KeyDown(int&, int) {}
};
