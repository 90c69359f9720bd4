#include "radio/tag_buffers.h"

TagBuffers tagBuffers;
TagReadState tagReadState;

void ResetTagReadState()
{
    tagReadState.nextIdentBlock = 0;
    tagReadState.identComplete = false;
    tagReadState.rwComplete = false;
    tagReadState.rwCounter = 0;
    tagReadState.rCounter = 0;
    tagReadState.rComplete = false;
    tagReadState.identChecksumOk = false;
    tagReadState.rwChecksumOk = false;
    tagReadState.rChecksumOk = false;
}

void MarkTagIdentNotRead()
{
    tagBuffers.ident[0] = 0xFF;
    tagBuffers.ident[1] = 0xFF;
}

bool TagIdentReceived() { return !(tagBuffers.ident[0] == 0xFF && tagBuffers.ident[1] == 0xFF); }
