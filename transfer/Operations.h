#pragma once
// The operations of the transfer engine. Each takes the run's shared context and,
// as the main window's methods did, the statements, transactions and connections
// it works on, in this order: source statement, destination statement, source
// transaction, destination transaction 1, source connection, destination connection 1.
#include <string>

#include "db/IB.h"

struct TransferContext;

// The table list driver: the clearing pass, the copying pass, the events section.
void ProcessTableList(TransferContext& context);

// Deletes the rows of one destination table, all of them or those satisfying `condition`.
void ClearTable(TransferContext& context, TIBSQL& statement, TIBTransaction& transaction,
                TIBDatabase& database, const std::string& table, const std::string& condition);
// True when the database has the owner photo table.
bool UstNalOwnerPhoto(TIBSQL& statement, TIBTransaction& transaction, TIBDatabase& database);
// Sets column `column` of the destination rows of `table` from the source rows with the same key.
void UpdPer(TransferContext& context, TIBSQL& source, TIBSQL& dest, TIBTransaction& sourceTr,
            TIBTransaction& destTr, TIBDatabase& sourceDb, TIBDatabase& destDb,
            const std::string& table, const std::string& keyColumn, const std::string& column);

// Copies one table with key remapping and reference rewriting.
void Perepis(TransferContext& context, TIBSQL& source, TIBSQL& dest, TIBTransaction& sourceTr,
             TIBTransaction& destTr, TIBDatabase& sourceDb, TIBDatabase& destDb,
             const std::string& table, const std::string& keyColumn, const std::string& condition);
// Copies the macros with their lines rewritten to the new keys.
void PerepisMacros(TransferContext& context, TIBSQL& source, TIBSQL& dest, TIBTransaction& sourceTr,
                   TIBTransaction& destTr, TIBDatabase& sourceDb, TIBDatabase& destDb);

// Sets every generator of the generator list past the largest key of its column.
void RestoreGenerators(TransferContext& context);
void SetGenerator(TransferContext& context, TIBSQL& statement, TIBTransaction& transaction,
                  TIBDatabase& database, const std::string& table, const std::string& column,
                  const std::string& generator);
