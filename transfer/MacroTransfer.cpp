// The macros: read whole from the source, then written into the emptied
// destination table with their command lines rewritten to the new device keys.
#include <exception>
#include <memory>

#include "text/RussianTexts.h"
#include "transfer/KeyedInsert.h"
#include "transfer/Operations.h"
#include "transfer/Peregonner.h"
#include "transfer/TableCommit.h"
#include "transfer/TransferContext.h"

namespace {

void Bind(TIBSQL& statement, TIBTransaction& transaction, TIBDatabase& database) {
  transaction.SetDefaultDatabase(&database);
  statement.SetTransaction(&transaction);
}

// All macros in memory, so the source statement is free before the destination is touched.
TPeregonnerList ReadMacros(TransferContext& context, TIBSQL& source) {
  TPeregonnerList macros;
  KeyMapPair& keys = context.keyMap.Pair(keymap::kMacroses);
  StatementBracket bracket(source);
  source.SQLClear();
  source.SQLAdd("Select MCR_NAME,MCR_FILL,MCR_ID from MACROSES ");
  source.Prepare();
  try {
    source.Execute();
  } catch (const std::exception& e) {
    context.log.AppendFailure(ru::LogMacroReadError() + e.what());
  }
  while (!source.AtEnd()) {
    keys.AppendOld(source.ColumnByName("MCR_ID").GetText());
    auto macro = std::make_unique<Tperegonner>(context.keyMap);
    macro->Name = source.Column(0).GetText();
    std::string text;
    source.Column(1).ReadBlobTo(text);
    macro->LoadFromText(text);
    macros.Add(std::move(macro));
    source.FetchNext();
  }
  source.Close();
  return macros;
}

// Inserts every macro with its lines rewritten; `written` counts those the
// destination took.
void InsertMacros(TransferContext& context, TIBSQL& dest, const TPeregonnerList& macros,
                  int& written) {
  KeyMapPair& keys = context.keyMap.Pair(keymap::kMacroses);
  // The macros' own keys, read into the old-key list in list order.
  const size_t firstOldKey = keys.OldCount() - static_cast<size_t>(macros.Count());
  KeyedInsert insert(dest, "insert into MACROSES (MCR_NAME,MCR_FILL) values (:E,:F)", "MACROSES",
                     "MCR_ID");
  for (int i = 0; i < macros.Count(); ++i) {
    Tperegonner& macro = *macros.Items(i);
    TIBSQL& statement = insert.Start();
    macro.RewriteMacro();
    statement.ParamByName("E").SetText(macro.Name);
    statement.ParamByName("F").WriteBlobFrom(macro.SaveToText());
    bool done = false;
    try {
      insert.Execute();
      done = true;
      ++written;
    } catch (const std::exception& e) {
      context.log.AppendRowFailure("MACROSES", keys.OldKeyAt(firstOldKey + static_cast<size_t>(i)),
                                   ru::LogMacroInsertError() + e.what());
    }
    // A macro that is not in the destination maps to -1, never to another macro's key.
    std::string newKey = "-1";
    try {
      newKey = insert.NewKey(done);
    } catch (const std::exception& e) {
      context.log.AppendFailure(ru::LogMacroNewKeyError() + e.what());
    }
    keys.AppendNew(newKey);
  }
}

}  // namespace

void PerepisMacros(TransferContext& context, TIBSQL& source, TIBSQL& dest, TIBTransaction& sourceTr,
                   TIBTransaction& destTr, TIBDatabase& sourceDb, TIBDatabase& destDb) {
  Bind(source, sourceTr, sourceDb);
  Bind(dest, destTr, destDb);
  const TPeregonnerList macros = ReadMacros(context, source);

  // The deletion and every insertion are committed together when the bracket closes.
  StatementBracket bracket(dest);
  dest.SQLClear();
  dest.SQLAdd("delete from MACROSES");
  dest.Prepare();
  try {
    dest.Execute();
  } catch (const std::exception& e) {
    context.log.AppendFailure(ru::LogMacroClearError() + e.what());
  }

  KeyMapPair& keys = context.keyMap.Pair(keymap::kMacroses);
  // A commit that fails loses every macro written: they map to -1 like failed ones.
  const size_t firstEntry = keys.NewCount();
  int written = 0;
  CommitAfter([&] { InsertMacros(context, dest, macros, written); },
              [&] {
                CommitTableWork(context, bracket, "MACROSES", written,
                                [&] { keys.ForgetNewKeysFrom(firstEntry); });
              });
}
