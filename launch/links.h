// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The community pages the link buttons open.
namespace CommunityLinks {
constexpr char crowdfunding[] = "https://www.patreon.com/zolm";
constexpr char chatInvite[] = "https://discord.gg/zolm84";
constexpr char forum[] = "https://www.zolm-community.net/forum/index.php";
constexpr char guide[] = "https://www.zolm-community.net/zolm/stats/data.php";
} // namespace CommunityLinks
