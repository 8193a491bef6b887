// The generators and the scripts in a run's plan. A generator is set to one
// more than the largest value its column would hold once the tables are copied;
// the plan works that out as if every source row arrived.
#include <algorithm>
#include <exception>

#include "text/TextFile.h"
#include "text/Trim.h"
#include "transfer/PlanParts.h"
#include "transfer/ReadOnlySession.h"
#include "transfer/ScriptReader.h"
#include "transfer/TableList.h"

namespace {

class GeneratorValue {
 public:
  GeneratorValue(ReadOnlySession& session, const RunPlan& plan, const PlanOptions& options)
      : source_(session.Source().statement),
        dest_(session.Dest().statement),
        plan_(plan),
        options_(options) {}

  void Predict(GeneratorPlan& generator) {
    const std::string& table = generator.table;
    const std::string& column = generator.column;
    // The run prepares exactly this; a broken entry ends the run there.
    try {
      readonly::ColumnsOf(dest_, {"SELECT MAX(" + column + ")+1 FROM " + table});
    } catch (const std::exception& e) {
      generator.problem = GeneratorPlan::Problem::RunEndsHere;
      generator.problemMessage = e.what();
      return;
    }
    long long next = 0;
    try {
      next = readonly::ValueOf(dest_,
                               {"SELECT GEN_ID(" + generator.generator + ", 0) FROM RDB$DATABASE"})
                 .value_or(0);
    } catch (const std::exception& e) {
      generator.problem = GeneratorPlan::Problem::CannotBeSet;
      generator.problemMessage = e.what();
      return;
    }

    auto found = plan_.fates.find(table);
    const TableFate* fate = found == plan_.fates.end() ? nullptr : &found->second;
    std::vector<GeneratorBasis>& basis = generator.basis;
    try {
      if (fate == nullptr) {
        basis.push_back({GeneratorBasis::Kind::NotListed});
        Consider(MaxOf(dest_, {"SELECT MAX(" + column + ") FROM " + table}));
      } else if (!fate->cleared) {
        basis.push_back({fate->clearConditions.empty() ? GeneratorBasis::Kind::NeverEmptied
                                                       : GeneratorBasis::Kind::RowsThatStay});
        Consider(MaxOf(dest_, {"SELECT MAX(" + column + ") FROM " + table,
                               runplan::KeptRowsWhere(fate->clearConditions)}));
      }
      for (const TableFate::Copy& copy : fate ? fate->copies : std::vector<TableFate::Copy>{}) {
        if (copy.keys == KeyHandling::New && text::SameTextAscii(column, copy.keyColumn)) {
          // The destination numbers the new rows on from its generator.
          basis.push_back({GeneratorBasis::Kind::NewKeys, next});
          if (copy.rows > 0) Consider(next + copy.rows);
          next += copy.rows;
        } else {
          basis.push_back({GeneratorBasis::Kind::SourceValues});
          std::vector<std::string> query{"SELECT MAX(" + column + ") FROM ("};
          query.insert(query.end(), copy.sourceQuery.begin(), copy.sourceQuery.end());
          query.push_back(")");
          Consider(MaxOf(source_, query));
        }
      }
    } catch (const std::exception& e) {
      basis.clear();
      generator.unforeseen = e.what();
      return;
    }
    if (basis.empty()) basis.push_back({GeneratorBasis::Kind::Emptied});
    generator.value = largest_ ? *largest_ + 1 : 0;
  }

 private:
  std::optional<long long> MaxOf(TIBSQL& statement, const std::vector<std::string>& query) {
    return readonly::ValueOf(statement, query, options_.eventsFrom);
  }

  void Consider(std::optional<long long> value) {
    if (value && (!largest_ || *value > *largest_)) largest_ = value;
  }

  TIBSQL& source_;
  TIBSQL& dest_;
  const RunPlan& plan_;
  const PlanOptions& options_;
  std::optional<long long> largest_;
};

void CountStatements(const std::string& folder, ScriptPlan& script) {
  try {
    text::TextFileReader file(text::ResolveInFolder(folder, script.file));
    // The runners' own loop: a statement block per pass, the first one always.
    do {
      const std::vector<std::string> lines = ReadScriptStatement(file);
      ++script.blocks;
      if (!lines.empty()) ++script.statements;
      for (std::string& table : TablesWrittenBy(lines))
        if (std::find(script.writes.begin(), script.writes.end(), table) == script.writes.end())
          script.writes.push_back(std::move(table));
    } while (!file.Eof());
  } catch (const std::exception& e) {
    script.error = e.what();
  }
}

}  // namespace

namespace runplan {

void PlanGenerators(ReadOnlySession& session, RunPlan& plan, const PlanOptions& options) {
  text::TextFileReader list(text::ResolveInFolder(options.programFolder, "Generator.txt"));
  int number = 0;
  do {
    const std::string line = list.ReadLine();
    ++number;
    const GeneratorEntry entry = ParseGeneratorLine(line);
    if (entry.comment) continue;
    GeneratorPlan generator;
    generator.line = number;
    generator.generator = entry.generator;
    generator.table = entry.table;
    generator.column = entry.column;
    GeneratorValue(session, plan, options).Predict(generator);
    plan.generators.push_back(std::move(generator));
  } while (!list.Eof());
}

void PlanScripts(const PlanOptions& options, RunPlan& plan) {
  plan.firstScript.file = "SQL/_Upd.sql";
  plan.secondScript.file = "SQL/Upd.sql";
  CountStatements(options.programFolder, plan.firstScript);
  CountStatements(options.programFolder, plan.secondScript);
}

}  // namespace runplan
