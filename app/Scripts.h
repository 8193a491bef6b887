#pragma once
// The two SQL scripts of the program folder, run on the destination: the first
// before the tables are transferred, the second after them. Every statement is
// written to the run log with its outcome.
struct TransferContext;

void RABSQL(TransferContext& context);
void SucesSQL(TransferContext& context);
