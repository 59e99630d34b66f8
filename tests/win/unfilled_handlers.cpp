// A test build of the program whose created event leaves the formation tables
// empty, so the first query meets an empty table.
#include "app/handlers.h"

#include "lookup/formation_query.h"
#include "ui/web_link.h"

#include <iterator>

namespace {

void leaveTablesEmpty() {}

const HandlerName kHandlers[] = {
    {"fillFormationTables", leaveTablesEmpty},
    {"queryFormation", queryFormation},
    {"openMoreToolsPage", openMoreToolsPage},
    {"openForumPage", openForumPage},
    {"openGuidesPage", openGuidesPage},
};

}  // namespace

const HandlerTable kProgramHandlers{kHandlers, std::size(kHandlers)};
