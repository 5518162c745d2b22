'use strict';
// An OAuth 2.0 authorization server for the peer sign-in tests, made of the
// @node-oauth/oauth2-server package (installed by install.sh under the build
// folder): the authorization code grant with PKCE (S256 only) for one public
// client, whose one person is signed in at once, as a browser with a session
// would be. Codes are one-time and live 60 seconds; the package checks the
// client, the redirect URI and the code verifier of every token request.
//
//   node authorization-server.js --client-id ID --redirect-uri URI [--lifetime SECONDS]
//
// Listens on 127.0.0.1 at a port the system picks and prints {"port": N} as
// its first line; GET /authorize and POST /token, anything else is 404.
// Stops on SIGTERM, or by itself after the lifetime (120 s by default), so a
// test that dies leaves nothing running.

const http = require('http');
const OAuth2Server = require('@node-oauth/oauth2-server');

const { Request, Response } = OAuth2Server;

function option(name, fallback) {
  const at = process.argv.indexOf(`--${name}`);
  if (at >= 0 && at + 1 < process.argv.length) return process.argv[at + 1];
  if (fallback !== undefined) return fallback;
  console.error(`authorization-server: --${name} is needed`);
  process.exit(2);
}

const client = {
  id: option('client-id'),
  redirectUris: [option('redirect-uri')],
  grants: ['authorization_code'],
};
const person = { id: 'peer-user' };
const lifetimeSeconds = Number(option('lifetime', '120'));

const codes = new Map();
const tokens = new Map();
const model = {
  async getClient(id) {
    return id === client.id ? client : null;
  },
  async saveAuthorizationCode(code, forClient, user) {
    const saved = { ...code, client: forClient, user };
    codes.set(code.authorizationCode, saved);
    return saved;
  },
  async getAuthorizationCode(code) {
    return codes.get(code) || null;
  },
  async revokeAuthorizationCode(code) {
    return codes.delete(code.authorizationCode);
  },
  async saveToken(token, forClient, user) {
    const saved = { ...token, client: forClient, user };
    tokens.set(token.accessToken, saved);
    return saved;
  },
  async getAccessToken(token) {
    return tokens.get(token) || null;
  },
};

const server = new OAuth2Server({
  model,
  authorizationCodeLifetime: 60,
  accessTokenLifetime: 3600,
  // A public client proves itself with its code verifier.
  requireClientAuthentication: { authorization_code: false },
});

function send(res, response) {
  const headers = { ...response.headers };
  let body = '';
  if (response.body && Object.keys(response.body).length > 0) {
    body = JSON.stringify(response.body);
    headers['content-type'] = 'application/json';
  }
  res.writeHead(response.status, headers);
  res.end(body);
}

async function handle(req, res) {
  const url = new URL(req.url, 'http://127.0.0.1');
  const chunks = [];
  for await (const chunk of req) chunks.push(chunk);
  const form = Object.fromEntries(new URLSearchParams(Buffer.concat(chunks).toString('utf8')));
  const request = new Request({
    method: req.method,
    headers: req.headers,
    query: Object.fromEntries(url.searchParams),
    body: req.method === 'POST' ? form : {},
  });
  const response = new Response();
  try {
    if (req.method === 'GET' && url.pathname === '/authorize') {
      await server.authorize(request, response, { authenticateHandler: { handle: () => person } });
    } else if (req.method === 'POST' && url.pathname === '/token') {
      await server.token(request, response);
    } else {
      response.status = 404;
    }
  } catch (error) {
    // The package has set the answer (a redirect back with the error, or the
    // token endpoint's error JSON) when it could; otherwise answer the error.
    if (response.status === 200) {
      response.status = error.code || 500;
      response.body = { error: error.name || 'server_error', error_description: error.message };
    }
    console.error(`authorization-server: ${req.method} ${url.pathname}: ${error.name}: ${error.message}`);
  }
  send(res, response);
}

const http_server = http.createServer((req, res) => {
  handle(req, res).catch((error) => {
    console.error(`authorization-server: ${error.stack}`);
    res.writeHead(500);
    res.end();
  });
});
http_server.listen(0, '127.0.0.1', () => {
  process.stdout.write(`${JSON.stringify({ port: http_server.address().port })}\n`);
});
const stop = () => http_server.close(() => process.exit(0));
process.on('SIGTERM', stop);
process.on('SIGINT', stop);
setTimeout(() => {
  console.error(`authorization-server: stopping after ${lifetimeSeconds} s`);
  process.exit(0);
}, lifetimeSeconds * 1000).unref();
