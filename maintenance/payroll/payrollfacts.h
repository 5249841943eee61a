#pragma once
// What the save rules would find in the database for the lines of a payroll import, read once
// for the agent and the year rather than once a line, together with the persons, declarations
// and rows that the lines above a line add: so that what the import shows for a line beforehand
// is what the rules then do with it, the lines above written.

#include "records/databasequestions.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QTime>
#include <QVariant>
#include <utility>
#include <vector>

class PayrollFacts : public RecordQuestions
{
public:
    // Reads the persons of the agent, their declarations of every year and the monthly rows of
    // their declarations of `year`.
    PayrollFacts(double agentId, int year);

    struct Person {
        double id = 0;
        QString cpas, idnp, name;
    };
    struct Declaration {
        double id = 0;
        double person = 0;
        int year = 0;
        QVariant category, position;
    };

    // The person of the agent with the code; nothing when there is none.
    const Person *personByCpas(const QString &cpas) const;
    const Person *personByIdnp(const QString &idnp) const;
    // The person's declaration of the year; nothing when there is none.
    const Declaration *declarationOfYear(double person) const;
    // A row of the declaration with the month, category, period and working days.
    bool rowPresent(double declaration, int month, double category, const QDate &from, const QDate &to, int days) const;

    // An identifier for a person or declaration that is to be added: below 0, never a stored one.
    double pendingId() { return --m_lastPending; }
    // What a line adds (with its stored identifier once written, a pending one before).
    void addPerson(const Person &person);
    void addDeclaration(const Declaration &declaration);
    void addRow(double declaration, double id, int month, double category, const QDate &from, const QDate &to,
                int days);

    // RecordQuestions: the persons, declarations and rows from what was read and added; the
    // functions, formed packages and rates from the database, each asked once.
    bool personCodeTaken(const QString &column, const QString &code, double agentId, double personId) override;
    bool declarationExists(const QString &person, const QString &year) override;
    std::optional<LatestDeclaration> latestDeclaration(const QString &person) override;
    std::optional<QString> professionName(const QString &code) override;
    bool periodTaken(const QString &declaration, const QString &month, const QString &category, const QString &rowId,
                     const QDate &from, const QDate &to) override;
    bool packageFormed(const QString &year, const QString &month) override;
    std::optional<Rate> rate(const QString &year, const QString &category) override;

private:
    using Moment = std::pair<QDate, QTime>; // a date-time as the database compares it
    struct Row {
        double id = 0;
        int month = 0;
        double category = 0;
        Moment from, to;
        int days = 0;
    };

    void readPersons();
    void readDeclarations();
    void readRows();

    double m_agent;
    int m_year;
    std::vector<Person> m_persons;
    QHash<QString, std::vector<int>> m_byCpas, m_byIdnp; // code -> persons holding it, as read
    std::vector<Declaration> m_declarations;
    QHash<double, int> m_ofYear;            // person -> declaration of the year
    QHash<double, int> m_latest;            // person -> declaration of the highest year
    QHash<double, std::vector<Row>> m_rows; // declaration -> its rows
    QHash<QString, std::optional<QString>> m_professions;
    QHash<QString, bool> m_packages;
    QHash<QString, std::optional<Rate>> m_rates;
    DatabaseQuestions m_database;
    double m_lastPending = 0;
};
