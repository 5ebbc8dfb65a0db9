#pragma once

#include <cstdint>

#include "HALStatus.h"

class HALString;

// The platform's HTTP client. One handle is one request and its reply.
//
// Handles are small positive ids in a table of connection records, never
// addresses: an id that was destroyed (or never made) answers
// HAL_ILLEGAL_ARGUMENT_ERR everywhere, as does 0. The record belongs to
// the table until HAL_destroyHTTPConnection; a call in flight on another
// thread keeps it alive until it returns.
//
// There is no process-wide internet session and no data-connection step:
// each record's transfer connects on its own when the request is sent.
//
// The request is assembled in memory (method, request headers, body
// chunks) and sent when something of the reply is first needed: any reply
// query or read. It is sent once, whatever the outcome; what is changed
// afterwards is kept but never transmitted. Request headers go out in the
// reverse order of their list.
//
// Every call releases the global VM lock (all its levels) while it works
// on a record, so a slow server never holds up other Java threads; only
// one thread at a time works on one record. Waits for the network end
// after the device profile's network time-out without progress.
//
// Strings handed out carry one owner, which the caller releases. Status
// codes: 0 ok, 2 bad handle or argument, 3 end of the reply body, 4 no
// such header (or, from the send, the request failed), 5 no memory, 7
// network failure.

HALStatus HAL_createHTTPConnection(int32_t* outHandle, const char16_t* url, int32_t length);
HALStatus HAL_destroyHTTPConnection(int32_t handle);
// Ends the exchange (its network connection); reads and reply queries fail
// from then on, the record stays until destroyed.
HALStatus HAL_closeHTTPConnection(int32_t handle);

// Parts of the URL. Host: after "://" up to the port, path, query or
// fragment. Port: the number after the host's ':', 80 without one. File:
// the path from the '/' after the host and port up to the query or the
// fragment (none without a path). Query: after the first '?' up to the
// fragment. Ref: after the first '#'. None without a '?' or '#' (a '?'
// inside the fragment is part of the fragment).
HALStatus HAL_getHTTPConnectionURL(int32_t handle, HALString** out);
HALStatus HAL_getHTTPConnectionHost(int32_t handle, HALString** out);
HALStatus HAL_getHTTPConnectionPort(int32_t handle, int32_t* out);
HALStatus HAL_getHTTPConnectionFile(int32_t handle, HALString** out);
HALStatus HAL_getHTTPConnectionQuery(int32_t handle, HALString** out);
HALStatus HAL_getHTTPConnectionRef(int32_t handle, HALString** out);

// The method set, or "GET".
HALStatus HAL_getHTTPRequestMethod(int32_t handle, HALString** out);
HALStatus HAL_setHTTPRequestMethod(int32_t handle, const char16_t* method, int32_t length);
// A null key appends a line of the value alone; otherwise the entry with
// exactly this key is replaced in place, or the header is appended.
HALStatus HAL_setHTTPRequestProperty(int32_t handle, const char16_t* key, int32_t keyLength,
                                     const char16_t* value, int32_t valueLength);
// The value of the first request header with exactly this key; none (null
// with status 0) when absent.
HALStatus HAL_getHTTPRequestProperty(int32_t handle, const char16_t* key, int32_t keyLength, HALString** out);

// Reply header records (see HALHttpHeaders.h); by name ignoring ASCII letter
// case, by index from 0 (the status line). 4 when absent.
HALStatus HAL_getHTTPHeaderField(int32_t handle, const char16_t* name, int32_t length, HALString** out);
HALStatus HAL_getHTTPHeaderFieldByIndex(int32_t handle, int32_t index, HALString** out);
HALStatus HAL_getHTTPHeaderFieldKey(int32_t handle, int32_t index, HALString** out);
HALStatus HAL_getHTTPResponseMessage(int32_t handle, HALString** out);
// "Transfer-Encoding" of the reply.
HALStatus HAL_getHTTPEncoding(int32_t handle, HALString** out);
// The status code; -1 when the request failed.
HALStatus HAL_getHTTPResponseCode(int32_t handle, int32_t* out);
// "Content-Length" of the reply; -1 when absent, not a number or failed.
HALStatus HAL_getHTTPLength(int32_t handle, int64_t* out);
// "Content-Type" of the reply; none when absent or failed.
HALStatus HAL_getHTTPType(int32_t handle, HALString** out);

// Appends a copy of the bytes to the request body as one chunk.
HALStatus HAL_writeHTTPConnection(int32_t handle, const uint8_t* bytes, int32_t count);
HALStatus HAL_flushHTTPConnection(int32_t handle);
// Sends the request when it has not been sent, then copies the next reply
// body bytes (at most min(`capacity`, 4096)) to `buffer`: 0 with *count > 0,
// 3 at the end of the body (a body cut short by the server also ends there),
// 7 on failure.
HALStatus HAL_readHTTPConnection(int32_t handle, uint8_t* buffer, int32_t capacity, int32_t* count);

// The number of records in the table (for tests).
int32_t HAL_countHTTPConnections();
