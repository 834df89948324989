#pragma once

#include "model/ClasshieTypes.h"

// A condition and body measurement: a condition value and nine body
// circumferences in centimetres, each with one decimal.
class TCardioMeasure final : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TCardioMeasure)
public:
    TCardioMeasure();
    TActivityFamily Family() const override { return TActivityFamily::CardioMeasure; }

    void SetMeasure(const QString &text);
    // Every value through NormalizeDecimal; a text that is no number raises
    // EConvertError and changes nothing.
    void SetBodyMeasures(const QString &neck, const QString &shoulder, const QString &calf, const QString &thigh, const QString &hip,
                         const QString &waist, const QString &arm, const QString &biceps, const QString &chest);
    QString GetMeasure() const { return m_measure; }
    QString GetNeck() const { return m_neck; }
    QString GetShoulder() const { return m_shoulder; }
    QString GetChest() const { return m_chest; }
    QString GetBiceps() const { return m_biceps; }
    QString GetArm() const { return m_arm; }
    QString GetWaist() const { return m_waist; }
    QString GetHip() const { return m_hip; }
    QString GetThigh() const { return m_thigh; }
    QString GetCalf() const { return m_calf; }

    // The waist divided by the hip with two decimals; empty when either is
    // missing or no number, or the hip is below 0.1.
    static QString WaistHipRatio(const QString &waist, const QString &hip);

    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void LoadListRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;

private:
    // No value until one is set, so that a measurement saved with few
    // values stores nulls for the others.
    QString m_measure;
    QString m_neck;
    QString m_shoulder;
    QString m_chest;
    QString m_biceps;
    QString m_arm;
    QString m_waist;
    QString m_hip;
    QString m_thigh;
    QString m_calf;
};
