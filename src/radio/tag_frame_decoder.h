#pragma once
// Lets "Switch to Read" reset the tag read state of this link (the tag blocks are
// decoded with the other programmer frames, programmer_frames.h).

class RadioLink;

void InstallTagReception(RadioLink &link);
