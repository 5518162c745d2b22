'use strict';
// Plays another client of the same authorization server to the end: asks
// for a code (with its own PKCE verifier), exchanges it for a token, and
// prints the code, now spent. The peer test hands it to the library to show
// that a replayed code is refused.
//
//   node spend-code.js BASE_URL CLIENT_ID REDIRECT_URI

const crypto = require('crypto');
const http = require('http');

const [base, clientId, redirectUri] = process.argv.slice(2);

function request(method, url, body) {
  return new Promise((resolve, reject) => {
    const req = http.request(url, { method, headers: body ? { 'content-type': 'application/x-www-form-urlencoded' } : {} },
      (res) => {
        const chunks = [];
        res.on('data', (c) => chunks.push(c));
        res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body: Buffer.concat(chunks).toString() }));
      });
    req.on('error', reject);
    req.setTimeout(10000, () => req.destroy(new Error('timed out')));
    req.end(body);
  });
}

async function main() {
  const verifier = crypto.randomBytes(32).toString('base64url');
  const authorize = new URL(`${base}/authorize`);
  authorize.search = new URLSearchParams({
    response_type: 'code',
    client_id: clientId,
    redirect_uri: redirectUri,
    code_challenge_method: 'S256',
    code_challenge: crypto.createHash('sha256').update(verifier).digest('base64url'),
    state: crypto.randomBytes(16).toString('hex'),
  }).toString();
  const sent = await request('GET', authorize);
  const code = sent.headers.location && new URL(sent.headers.location).searchParams.get('code');
  if (sent.status !== 302 || !code) throw new Error(`no code: ${sent.status} ${sent.body}`);
  const token = await request('POST', `${base}/token`, new URLSearchParams({
    grant_type: 'authorization_code', code, redirect_uri: redirectUri, client_id: clientId, code_verifier: verifier,
  }).toString());
  if (token.status !== 200) throw new Error(`the first exchange failed: ${token.status} ${token.body}`);
  process.stdout.write(`${code}\n`);
}

main().catch((error) => {
  console.error(`spend-code: ${error.message}`);
  process.exit(1);
});
