#pragma once

namespace pelmar {

// The DDL of the two database files, as written in store/schema/.
extern const char *const kMainSchemaSql;
extern const char *const kWorkSchemaSql;

} // namespace pelmar
