#pragma once
// The open account that the ledger and cheque tests start from, and its causali.

#include "common/records.h"

#include <initializer_list>

namespace qv::test {

// Amounts shown as "#,###,###,##0.00" at display rate 1.
void showAmountsInEuro();

// Amounts shown in euro, and the account `codice` (of bank `banca`) as account 1: the
// only one in the table, and the open one. Its files are the test's to write.
void openTestAccount(const char* codice, const char* banca = "");

// A causale of the table.
VoceCausale causaleEntry(qint16 numero, const char* codice, const char* descrizione,
                         const char* sospeso, const char* entrataUscita);

// The causali table holds `voci` from row 1.
void setCausali(std::initializer_list<VoceCausale> voci);

} // namespace qv::test
