#include "app/rules/editor_mode_rules.h"

#include "resources/lang/menu_ids.h"
#include "resources/resource.h"

namespace orvane {

bool ActsOnStripSelection(uint32_t command) {
    switch (command) {
        case ID_FILE_OPEN:
        case ID_FILE_DELETE:
        case ID_FILE_COPY_IMAGE:
        case ID_FILE_COPY_FILE:
        case ID_FILE_SAVE_AS:
        case ID_FILE_STACK_FOCUS:
        case IDC_BTN_SAVE:
        case IDC_BTN_MEASURE:
        case IDC_BTN_DEL:
        case IDC_BTN_DEL_ALL:
            return true;
        default:
            return false;
    }
}

}  // namespace orvane
