#include "profile/profile_record.h"

#include <stdexcept>

using R = STRUCT_XML_FILE_VARIABLES;
using D = ParameterDescriptor;

const std::array<DescriptorMember, 11> kDescriptorMembers = {{
    {"list", &D::list},
    {"min", &D::min},
    {"max", &D::max},
    {"defaultValue", &D::defaultValue},
    {"unit", &D::unit},
    {"address", &D::address},
    {"size", &D::size},
    {"step", &D::step},
    {"factor", &D::factor},
    {"offset", &D::offset},
    {"convform", &D::convform},
}};

const std::array<IntegerField, 9> kIntegerFields = {{
    {"tag", &R::tag},
    {"currentAvailable", &R::currentAvailable},
    {"cloAvailable", &R::cloAvailable},
    {"dclevelAvailable", &R::dclevelAvailable},
    {"ExtNTCAvailable", &R::ExtNTCAvailable},
    {"currentAdjustEnable", &R::currentAdjustEnable},
    {"cloAdjustEnable", &R::cloAdjustEnable},
    {"dclevelAdjustEnable", &R::dclevelAdjustEnable},
    {"ExtNTCAdjustEnable", &R::ExtNTCAdjustEnable},
}};

const std::array<TextField, 11> kIdentityFields = {{
    {"enOcean_HandHeldID", &R::enOcean_HandHeldID},
    {"programmer_Nfc_FW", &R::programmer_Nfc_FW},
    {"familyName", &R::familyName},
    {"type", &R::type},
    {"ref_number", &R::ref_number},
    {"editGTIN", &R::editGTIN},
    {"programmer", &R::programmer},
    {"editFW", &R::editFW},
    {"editHW", &R::editHW},
    {"editSerial", &R::editSerial},
    {"memoData", &R::memoData},
}};

std::array<STRUCT_XML_FILE_VARIABLES, kSlotCount> settingsVariablesField{};

namespace {
int g_activeSlot = 1;
}

int activeSlot() { return g_activeSlot; }

void setActiveSlot(int slot)
{
    if (slot < 1 || slot > kSlotCount)
        throw std::out_of_range("active slot must be 1, 2 or 3");
    g_activeSlot = slot;
}

STRUCT_XML_FILE_VARIABLES &activeProfile() { return settingsVariablesField[g_activeSlot - 1]; }
