// Any bytes opened as a table: every field of every record read through the accessors, then a
// record appended and stored, and the table packed.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_files.h"
#include "table/dbf.h"
#include "table/field.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyfold;
    const FilePath path = fuzz::WriteScratch("table.dbf", data, size);
    {
        tDBF table;
        if (table.Open(path)) {
            const int fields = table.FieldCount();
            // Bounded work per input: a damaged header may still claim many fields and records.
            const std::uint32_t records = std::min<std::uint32_t>(table.RecordCount(), 2000);
            for (std::uint32_t index = 0; index < records && table.GoTo(index); ++index) {
                static_cast<void>(table.Deleted());
                for (int field = 0; field < fields && field < 64; ++field) {
                    const std::string name(table.FieldName(field));
                    if (table.FieldType(field) == 'N') {
                        tNumField number(table, name);
                        static_cast<void>(number.Value());
                    } else {
                        tCharField text(table, name);
                        static_cast<void>(text.Text());
                    }
                }
            }
            if (table.AppendBlank() && fields > 0) {
                tCharField first(table, std::string(table.FieldName(0)));
                first.Assign("\\\"a\xE4 fuzz \\0 cut");
                tNumField number(table, std::string(table.FieldName(fields - 1)));
                number.Assign(-12345);
                table.Delete();
            }
            static_cast<void>(table.Pack());  // a pack may fail; it must not crash
        }
    }
    fuzz::ClearScratch({"table.dbf", "table.db_"});
    return 0;
}
