// The card's texts in its reader's language: the catalogs built into the
// card's folder, the choice of language and what happens without one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "card/Card.h"
#include "card/CardCatalog.h"
#include "card/MoCatalog.h"
#include "tests/card/CardWorld.h"
#include "tests/support/TestWorld.h"

namespace {

const std::string ShippedFolder = std::string(GLIMMER_BINARY_DIR) + "/solvane";

// 1 January 2027, 00:00 UTC.
constexpr time_t NewYear2027 = 1798761600;

class CardLanguage : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        ASSERT_TRUE(FileExists(ShippedFolder + "/locale/en/LC_MESSAGES/solvane.mo")) << "the card is not built";
    }
    void TearDown() override { ActivateCardLanguage(""); }
};

struct PluralRow {
    const char* language;
    long n;
    // Hours n, minutes and seconds n % 60.
    const char* time;
};

const PluralRow PluralRows[] = {
    {"en", 0, "0 hours 0 minutes 0 seconds"},
    {"en", 1, "1 hour 1 minute 1 second"},
    {"en", 2, "2 hours 2 minutes 2 seconds"},
    {"en", 5, "5 hours 5 minutes 5 seconds"},
    {"en", 11, "11 hours 11 minutes 11 seconds"},
    {"en", 21, "21 hours 21 minutes 21 seconds"},
    {"en", 22, "22 hours 22 minutes 22 seconds"},
    {"en", 25, "25 hours 25 minutes 25 seconds"},
    {"en", 101, "101 hours 41 minutes 41 seconds"},
    {"en", 111, "111 hours 51 minutes 51 seconds"},
    {"ru", 0, "0 часов 0 минут 0 секунд"},
    {"ru", 1, "1 час 1 минута 1 секунда"},
    {"ru", 2, "2 часа 2 минуты 2 секунды"},
    {"ru", 5, "5 часов 5 минут 5 секунд"},
    {"ru", 11, "11 часов 11 минут 11 секунд"},
    {"ru", 21, "21 час 21 минута 21 секунда"},
    {"ru", 22, "22 часа 22 минуты 22 секунды"},
    {"ru", 25, "25 часов 25 минут 25 секунд"},
    {"ru", 101, "101 час 41 минута 41 секунда"},
    {"ru", 111, "111 часов 51 минута 51 секунда"},
    {"uk", 0, "0 годин 0 хвилин 0 секунд"},
    {"uk", 1, "1 година 1 хвилина 1 секунда"},
    {"uk", 2, "2 години 2 хвилини 2 секунди"},
    {"uk", 5, "5 годин 5 хвилин 5 секунд"},
    {"uk", 11, "11 годин 11 хвилин 11 секунд"},
    {"uk", 21, "21 година 21 хвилина 21 секунда"},
    {"uk", 22, "22 години 22 хвилини 22 секунди"},
    {"uk", 25, "25 годин 25 хвилин 25 секунд"},
    {"uk", 101, "101 година 41 хвилина 41 секунда"},
    {"uk", 111, "111 годин 51 хвилина 51 секунда"},
    {"de", 0, "0 Stunden 0 Minuten 0 Sekunden"},
    {"de", 1, "1 Stunde 1 Minute 1 Sekunde"},
    {"de", 2, "2 Stunden 2 Minuten 2 Sekunden"},
    {"de", 5, "5 Stunden 5 Minuten 5 Sekunden"},
    {"de", 11, "11 Stunden 11 Minuten 11 Sekunden"},
    {"de", 21, "21 Stunden 21 Minuten 21 Sekunden"},
    {"de", 22, "22 Stunden 22 Minuten 22 Sekunden"},
    {"de", 25, "25 Stunden 25 Minuten 25 Sekunden"},
    {"de", 101, "101 Stunden 41 Minuten 41 Sekunden"},
    {"de", 111, "111 Stunden 51 Minuten 51 Sekunden"},
    {"fr", 0, "0 heure 0 minute 0 seconde"},
    {"fr", 1, "1 heure 1 minute 1 seconde"},
    {"fr", 2, "2 heures 2 minutes 2 secondes"},
    {"fr", 5, "5 heures 5 minutes 5 secondes"},
    {"fr", 11, "11 heures 11 minutes 11 secondes"},
    {"fr", 21, "21 heures 21 minutes 21 secondes"},
    {"fr", 22, "22 heures 22 minutes 22 secondes"},
    {"fr", 25, "25 heures 25 minutes 25 secondes"},
    {"fr", 101, "101 heures 41 minutes 41 secondes"},
    {"fr", 111, "111 heures 51 minutes 51 secondes"},
    {"es", 0, "0 horas, 0 minutos y 0 segundos"},
    {"es", 1, "1 hora, 1 minuto y 1 segundo"},
    {"es", 2, "2 horas, 2 minutos y 2 segundos"},
    {"es", 5, "5 horas, 5 minutos y 5 segundos"},
    {"es", 11, "11 horas, 11 minutos y 11 segundos"},
    {"es", 21, "21 horas, 21 minutos y 21 segundos"},
    {"es", 22, "22 horas, 22 minutos y 22 segundos"},
    {"es", 25, "25 horas, 25 minutos y 25 segundos"},
    {"es", 101, "101 horas, 41 minutos y 41 segundos"},
    {"es", 111, "111 horas, 51 minutos y 51 segundos"},
};

struct SentenceRow {
    const char* language;
    const char* until;  // 4392 hours 52 minutes 52 seconds before 2027
    const char* since;  // 21 hours 1 minute 2 seconds after it
    const char* clock;  // Tuesday, 8 December 2026, 15:23:24 UTC
    const char* firstOfMonth;  // Friday, 1 January 2027, 00:00:00 UTC
    const char* credit;  // with the shipped name
};

const SentenceRow SentenceRows[] = {
    {"", "До Нового, 2027, года осталось 4392 часов 52 минут 52 секунд",
     "С Начала , 2027, года прошло 21 часов 1 минут 2 секунд", "Tue Dec  8 15:23:24 2026",
     "Fri Jan  1 00:00:00 2027", "Author: Tarnwell"},
    {"en", "4392 hours 52 minutes 52 seconds until New Year 2027", "21 hours 1 minute 2 seconds since New Year 2027",
     "Tuesday, December 8, 2026 3:23:24 PM", "Friday, January 1, 2027 12:00:00 AM", "Author: Tarnwell"},
    {"ru", "До Нового 2027 года — 4392 часа 52 минуты 52 секунды", "Новому 2027 году — 21 час 1 минута 2 секунды",
     "вторник, 8 декабря 2026 г., 15:23:24", "пятница, 1 января 2027 г., 00:00:00", "Автор: Тарнвелл"},
    {"uk", "До Нового 2027 року — 4392 години 52 хвилини 52 секунди",
     "Новому 2027 року — 21 година 1 хвилина 2 секунди", "вівторок, 8 грудня 2026 р., 15:23:24",
     "п’ятниця, 1 січня 2027 р., 00:00:00", "Автор: Тарнвелл"},
    {"de", "Noch 4392 Stunden 52 Minuten 52 Sekunden bis Neujahr 2027",
     "Neujahr 2027 ist 21 Stunden 1 Minute 2 Sekunden her", "Dienstag, 8. Dezember 2026, 15:23:24",
     "Freitag, 1. Januar 2027, 00:00:00", "Von: Tarnwell"},
    {"fr", "2027 commence dans 4392 heures 52 minutes 52 secondes",
     "2027 a commencé il y a 21 heures 1 minute 2 secondes", "mardi 8 décembre 2026, 15:23:24",
     "vendredi 1er janvier 2027, 00:00:00", "Auteur\u00a0: Tarnwell"},
    {"es", "2027 llega en 4392 horas, 52 minutos y 52 segundos", "2027 llegó hace 21 horas, 1 minuto y 2 segundos",
     "martes, 8 de diciembre de 2026, 15:23:24", "viernes, 1 de enero de 2027, 00:00:00", "Autor: Tarnwell"},
};

}  // namespace

TEST_F(CardLanguage, CountsAgreeWithTheirNumbersInEveryLanguageBeforeAndAfterMidnight) {
    ScopedChdir inFolder(ShippedFolder);
    for (const PluralRow& row : PluralRows) {
        ASSERT_EQ(ActivateCardLanguage(row.language), row.language);
        const time_t span = row.n * 3600 + (row.n % 60) * 61;
        EXPECT_NE(CountdownTextAt(NewYear2027, NewYear2027 - span).find(row.time), std::string::npos)
            << row.language << " " << row.n << ": " << CountdownTextAt(NewYear2027, NewYear2027 - span);
        EXPECT_NE(CountdownTextAt(NewYear2027, NewYear2027 + span).find(row.time), std::string::npos)
            << row.language << " " << row.n << ": " << CountdownTextAt(NewYear2027, NewYear2027 + span);
    }
}

TEST_F(CardLanguage, WritesCountdownClockAndCreditAsItsReadersDoAndWithoutASettingAsBefore) {
    ScopedChdir inFolder(ShippedFolder);
    SenderName = "Tarnwell";
    for (const SentenceRow& row : SentenceRows) {
        ASSERT_EQ(ActivateCardLanguage(row.language), row.language);
        EXPECT_EQ(CountdownTextAt(NewYear2027, NewYear2027 - (4392 * 3600 + 52 * 61)), row.until);
        EXPECT_EQ(CountdownTextAt(NewYear2027, NewYear2027 + 21 * 3600 + 62), row.since);
        EXPECT_EQ(ClockTextAt(1796743404), row.clock);
        EXPECT_EQ(ClockTextAt(NewYear2027), row.firstOfMonth);
        EXPECT_EQ(CreditText(), row.credit);
    }
    // A sender's own name is written as the sender wrote it.
    SenderName = "Маша";
    ActivateCardLanguage("de");
    EXPECT_EQ(CreditText(), "Von: Маша");
}

TEST_F(CardLanguage, AutoTakesTheFirstPreferredLanguageThatHasACatalog) {
    ScopedChdir inFolder(ShippedFolder);
    EXPECT_EQ(ChooseCardLanguage("", "de_DE.UTF-8"), "");
    EXPECT_EQ(ChooseCardLanguage("auto", "de_AT.UTF-8@euro"), "de");
    EXPECT_EQ(ChooseCardLanguage("auto", "ja-JP,fr-CA,en-US"), "fr");
    EXPECT_EQ(ChooseCardLanguage("auto", "uk"), "uk");
    EXPECT_EQ(ChooseCardLanguage("auto", "C.UTF-8"), "en");
    EXPECT_EQ(ChooseCardLanguage("auto", ""), "en");
    EXPECT_EQ(ChooseCardLanguage("es", "de_DE.UTF-8"), "es");
    EXPECT_EQ(ChooseCardLanguage("ru-RU", ""), "ru");

    setenv("LANG", "ru_RU.UTF-8", 1);
    setenv("LC_MESSAGES", "uk_UA.UTF-8", 1);
    setenv("LC_ALL", "", 1);
    EXPECT_EQ(LocaleLanguages(), "uk_UA.UTF-8");
    setenv("LC_ALL", "es_ES.UTF-8", 1);
    EXPECT_EQ(LocaleLanguages(), "es_ES.UTF-8");
}

TEST_F(CardLanguage, UnknownLanguagesAndBrokenCatalogsGiveEnglishAndAMessage) {
    TempDir folder;
    std::filesystem::copy(ShippedFolder + "/locale", folder / "locale", std::filesystem::copy_options::recursive);
    WriteTextFile(folder / "locale/de/LC_MESSAGES/solvane.mo", "no catalog at all");
    ScopedChdir inFolder(folder.Path());
    const struct {
        const char* setting;
        const char* preferred;
        const char* says;
    } rows[] = {
        {"xx", "", "no texts in \"xx\""},
        {"../../etc", "", "is no language code"},
        {"auto", "ja_JP.UTF-8", "no texts in \"ja_JP.UTF-8\""},
        {"de", "", "locale/de/LC_MESSAGES/solvane.mo does not load"},
    };
    for (const auto& row : rows) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(ActivateCardLanguage(ChooseCardLanguage(row.setting, row.preferred)), "en") << row.setting;
        EXPECT_NE(testing::internal::GetCapturedStderr().find(row.says), std::string::npos) << row.setting;
        EXPECT_EQ(CountdownTextAt(NewYear2027, NewYear2027 - 3661), "1 hour 1 minute 1 second until New Year 2027");
    }
    // Without any catalog the card still speaks English, its texts' own.
    std::filesystem::remove_all(folder / "locale");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ActivateCardLanguage(ChooseCardLanguage("ru", "")), "en");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no texts in \"ru\""), std::string::npos);
    EXPECT_EQ(CountdownTextAt(NewYear2027, NewYear2027 + 7322), "2 hours 2 minutes 2 seconds since New Year 2027");
}

TEST_F(CardLanguage, TranslatesTheShippedGreetingLinesButNeverASendersOwn) {
    const std::string shipped = ReadTextFile(std::string(GLIMMER_SOURCE_DIR) + "/card/data/root/txt/txt.txt");
    CardWorld world("SnowNum 0\n", shipped.c_str());
    std::filesystem::copy(ShippedFolder + "/locale", world.Dir() / "locale", std::filesystem::copy_options::recursive);
    world.Start();
    ASSERT_TRUE(ShippedGreetings);
    ActivateCardLanguage("de");
    EXPECT_STREQ(GreetingText(0), "Frohes neues Jahr!");
    EXPECT_STREQ(GreetingText(4), "Prosit Neujahr!");
    ActivateCardLanguage("");
    EXPECT_STREQ(GreetingText(0), "С Новым годом!");

    // One line more, and the text is the sender's.
    WriteTextFile(world.Dir() / "data/txt/txt.txt", shipped + "\nС любовью, Маша");
    LoadCardText("txt/txt.txt");
    ActivateCardLanguage("de");
    EXPECT_FALSE(ShippedGreetings);
    EXPECT_STREQ(GreetingText(0), "С Новым годом!");
}

// The web page reads the catalogs with the card's own reader: for every
// catalog, count and text it must give what the C library's gettext gives.
TEST_F(CardLanguage, TheCardsOwnCatalogReaderGivesWhatGettextGives) {
    ScopedChdir inFolder(ShippedFolder);
    const char* const texts[][2] = {{"until\004{n} hour", "{n} hours"}, {"since\004{n} minute", "{n} minutes"},
                                    {"until\004{n} second", "{n} seconds"}, {"no such text", "no such texts"}};
    for (const char* language : {"en", "ru", "uk", "de", "fr", "es"}) {
        MoCatalog catalog;
        ASSERT_TRUE(catalog.Load(std::string("locale/") + language + "/LC_MESSAGES/solvane.mo")) << language;
        ASSERT_TRUE(OpenCardCatalog(language)) << language;
        EXPECT_STREQ(catalog.Text(""), CatalogText("")) << language;
        for (const auto& text : texts) {
            for (unsigned long n = 0; n < 1200; ++n)
                ASSERT_STREQ(catalog.Plural(text[0], text[1], n), CatalogPlural(text[0], text[1], n))
                    << language << " " << text[0] << " " << n;
        }
        EXPECT_EQ(catalog.Text("no such text"), std::string("no such text"));
    }
}

TEST(MoCatalog, RefusesWhatIsNoCatalogAndReadsRulesSafely) {
    TempDir folder;
    MoCatalog catalog;
    EXPECT_FALSE(catalog.Load(folder / "missing.mo"));
    WriteTextFile(folder / "text.mo", "no catalog at all, but long enough to be read");
    EXPECT_FALSE(catalog.Load(folder / "text.mo"));
    // A header that claims more entries than the file holds.
    WriteTextFile(folder / "short.mo", std::string("\xde\x12\x04\x95\0\0\0\0\xff\xff\xff\x0f\x1c\0\0\0\x1c\0\0\0"
                                                   "\0\0\0\0\0\0\0\0",
                                                   28));
    EXPECT_FALSE(catalog.Load(folder / "short.mo"));
    EXPECT_STREQ(catalog.Plural("one", "many", 5), "many");

    EXPECT_EQ(EvaluatePluralRule("n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2", 22), 1u);
    EXPECT_EQ(EvaluatePluralRule("(n > 1)", 1), 0u);
    EXPECT_EQ(EvaluatePluralRule("n != 1", 0), 1u);
    for (const char* broken : {"", "n %", "n / 0", "(n", "n ? 1", "x", "n == 1 )"})
        EXPECT_EQ(EvaluatePluralRule(broken, 7), 0u) << broken;
}
