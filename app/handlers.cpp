// The handlers the window description binds, by name.
#include "app/handlers.h"

#include "lookup/formation_query.h"
#include "lookup/formation_table.h"
#include "ui/web_link.h"

#include <iterator>

namespace {

const HandlerName kHandlers[] = {
    {"fillFormationTables", fillFormationTables},
    {"queryFormation", queryFormation},
    {"openMoreToolsPage", openMoreToolsPage},
    {"openForumPage", openForumPage},
    {"openGuidesPage", openGuidesPage},
};

}  // namespace

const HandlerTable kProgramHandlers{kHandlers, std::size(kHandlers)};
