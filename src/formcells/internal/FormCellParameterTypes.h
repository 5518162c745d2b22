#pragma once
// The type of value each kind of form cell takes under each of its keys, and
// what a host update may change of a row by it. A value of another type
// would change what the row's stored parameters say while the cell on
// screen keeps what it showed (setters leave a property alone when its key
// holds the wrong type), so a cell built afresh from the stored row would
// show something else: a list picker without items, a segmented row without
// segments, a pick refused. So a wrong-typed value in an update is not taken
// into the row: it is left out (logged "warn" under "ZEL.TRC") and the row
// keeps what it had under that key; in the dictionaries "Styles", "Search",
// "DataPaging" and "validationProperties" this holds entry by entry.
//
// The types are the setters' own reads: a text key takes any value (a
// number shows as its text), so it is not listed; a number without fraction
// is an integer; a date is a date or an ISO-8601 text. A key holding nil or
// the null object is no value of a wrong type: it takes the key's value away,
// as before. Keys no kind reads ("_Name", "IsVisible", the host's own) are
// taken as they come.
//
// Static, stateless; main thread only, like the owners' updates. Not for
// use outside the form cells.

#include <optional>
#include <string_view>

#include "formcells/FormCellType.h"
#include "platform/core/Value.h"

namespace trc::formcells::internal {

class FormCellParameterTypes {
public:
    enum class Type {
        Text,  // a string (inside the dictionaries, where only strings are read)
        Bool,
        Integer,  // an integer, or a double without fraction
        Number,   // an integer or a double
        Date,     // a date, or a text in ISO-8601 form
        Dictionary,
        TextList,
        IntegerList,
        DictionaryList,
        PickerItems,     // a list picker's items: dictionaries, or texts when chosen by index
        PickerSelection  // a list picker's "Value": indexes, or items or identifiers when chosen by them
    };

    // The type the kind takes under key; nothing for a key it reads as text
    // or does not read.
    static std::optional<Type> typeOf(FormCellType::Kind kind, std::string_view key);

    // Whether value is of type. byUniqueIdentifiers says how a list picker
    // row chooses (PickerItems and PickerSelection only).
    static bool holds(Type type, const core::Value& value, bool byUniqueIdentifiers);

    // update as the row stored as stored may take it: update itself when
    // every value is of its key's type, else a copy in scratch without the
    // wrong-typed ones (each logged). The kind is the update's "_Type" when
    // it names one, else the stored row's; a row of no kind takes update
    // whole.
    static const core::Dictionary& accepted(const core::Dictionary& stored, const core::Dictionary& update,
                                            core::Dictionary& scratch);
};

}  // namespace trc::formcells::internal
