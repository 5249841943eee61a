#pragma once
// The questions of the save rules asked of the database with the rules' own statements, each
// a read of its own: what a row saved from a window or an import meets.

#include "records/recordquestions.h"

class DatabaseQuestions : public RecordQuestions
{
public:
    bool personCodeTaken(const QString &column, const QString &code, double agentId, double personId) override;
    bool declarationExists(const QString &person, const QString &year) override;
    std::optional<LatestDeclaration> latestDeclaration(const QString &person) override;
    std::optional<QString> professionName(const QString &code) override;
    bool periodTaken(const QString &declaration, const QString &month, const QString &category, const QString &rowId,
                     const QDate &from, const QDate &to) override;
    bool packageFormed(const QString &year, const QString &month) override;
    std::optional<Rate> rate(const QString &year, const QString &category) override;

    // The statement of the overlap check of a monthly row.
    static QString periodStatement(const QString &declaration, const QString &month, const QString &category,
                                   const QString &rowId, const QDate &from, const QDate &to);
};
