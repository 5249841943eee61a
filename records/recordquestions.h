#pragma once
// What the save rules of persons, declarations and monthly rows ask the database before they
// write. A save asks with the rules' own statements (DatabaseQuestions); an import that shows
// beforehand what each of its lines will do answers from the rows it has read once and from
// the rows its earlier lines are about to add, so that both run the same checks.

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

class RecordQuestions
{
public:
    virtual ~RecordQuestions() = default;

    // Another person of the agent (ap_id other than `personId`) holds `code` in `column`
    // (ap_cpas or ap_idnp).
    virtual bool personCodeTaken(const QString &column, const QString &code, double agentId, double personId) = 0;

    // The person has a declaration of the year.
    virtual bool declarationExists(const QString &person, const QString &year) = 0;
    // The function and category of the person's latest declaration (highest na_year), which a
    // new declaration starts from; nothing when the person has none.
    struct LatestDeclaration {
        QVariant position, category;
    };
    virtual std::optional<LatestDeclaration> latestDeclaration(const QString &person) = 0;

    // kp_name_ro of a function code of k_prof; nothing when there is no such code.
    virtual std::optional<QString> professionName(const QString &code) = 0;

    // Another row of the declaration, month and category (sd_id other than `rowId` when that is
    // not empty) whose period meets from..to.
    virtual bool periodTaken(const QString &declaration, const QString &month, const QString &category,
                             const QString &rowId, const QDate &from, const QDate &to)
        = 0;
    // An electronic package of the current agent covering the month of the year has been formed.
    virtual bool packageFormed(const QString &year, const QString &month) = 0;
    // The first rate row of the category valid over the whole year (`year` as the year list
    // writes it): its ktapv_id and ktapv_ktap; nothing when there is none.
    struct Rate {
        QVariant id;
        double category = 0;
    };
    virtual std::optional<Rate> rate(const QString &year, const QString &category) = 0;
};
