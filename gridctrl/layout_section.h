// Column-state sections: small key/value stores with text values that keep
// a grid's column layout. CLayoutSection is the abstract base with the typed
// readers and writers; CLayoutSectionDefault adds in-memory defaults that
// fill keys missing from storage.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CLayoutSection
{
public:
    explicit CLayoutSection(std::u16string viewName);
    CLayoutSection(const CLayoutSection&) = delete;
    CLayoutSection& operator=(const CLayoutSection&) = delete;

    // Storage.
    virtual std::u16string LoadValue(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view defaultValue) const = 0;
    virtual void StoreValue(std::u16string_view section, std::u16string_view key,
                            std::u16string_view value) = 0;
    virtual void EraseSection(std::u16string_view section) = 0;

    // Typed values as text.
    virtual std::u16string BoolToText(bool value) const;
    virtual std::u16string IntToText(int value) const;
    virtual std::u16string FloatToText(double value, int decimals) const;
    virtual std::u16string JoinList(const std::vector<std::u16string>& values,
                                    std::u16string_view delimiter) const;
    virtual std::vector<std::u16string> SplitList(std::u16string_view text,
                                                  std::u16string_view delimiter) const;

    // The section reads and writes use.
    virtual std::u16string SectionName() const;

    virtual ~CLayoutSection();

    virtual std::u16string ValueOf(std::u16string_view key,
                                   std::u16string_view defaultValue = {}) const;
    virtual bool BoolValueOf(std::u16string_view key, bool defaultValue) const;
    virtual int IntValueOf(std::u16string_view key, int defaultValue) const;
    virtual double FloatValueOf(std::u16string_view key, double defaultValue) const;
    virtual std::vector<std::u16string> ListValueOf(std::u16string_view key,
                                                    std::u16string_view delimiter) const;

    virtual void SetValue(std::u16string_view key, std::u16string_view value);
    virtual void SetBoolValue(std::u16string_view key, bool value);
    virtual void SetIntValue(std::u16string_view key, int value);
    virtual void SetFloatValue(std::u16string_view key, double value, int decimals);
    virtual void SetListValue(std::u16string_view key, const std::vector<std::u16string>& values,
                              std::u16string_view delimiter);

    virtual void EraseCurrentSection();

    const std::u16string& ViewName() const { return viewName; }

    // Text to number: an optional sign and the leading decimal digits; an
    // empty or non-numeric text gives 0.
    static int TextToInt(std::u16string_view text);

private:
    std::u16string viewName;
};

class CLayoutSectionDefault : public CLayoutSection
{
public:
    // An in-memory section: keys and values in two parallel lists.
    class CLayoutSectionLocal : public CLayoutSection
    {
    public:
        using CLayoutSection::CLayoutSection;
        std::u16string LoadValue(std::u16string_view section, std::u16string_view key,
                                 std::u16string_view defaultValue) const override;
        void StoreValue(std::u16string_view section, std::u16string_view key,
                        std::u16string_view value) override;
        void EraseSection(std::u16string_view section) override;

        const std::vector<std::u16string>& Keys() const { return keys; }
        const std::vector<std::u16string>& Values() const { return values; }
        bool Find(std::u16string_view key, std::u16string& value) const;

    private:
        std::vector<std::u16string> keys;
        std::vector<std::u16string> values;
    };

    explicit CLayoutSectionDefault(std::u16string viewName);

    virtual CLayoutSectionLocal& Defaults() { return defaults; }
    virtual bool HasDefaults() const { return !defaults.Keys().empty(); }
    // Erases the current section and writes every default into it.
    virtual void RestoreDefaults();

    // A stored value wins; an in-memory default fills a missing key; the
    // caller's default applies only when neither exists.
    std::u16string ValueOf(std::u16string_view key,
                           std::u16string_view defaultValue = {}) const override;

private:
    CLayoutSectionLocal defaults;
};
